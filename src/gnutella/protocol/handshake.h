#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <cstdint>
#include <optional>

namespace gnutella {

// One handshake group: a start line ("GNUTELLA CONNECT/0.6" or "GNUTELLA/0.6 200 OK") and
// HTTP-like headers, names without regard to letter case, repeated headers joined by commas,
// continuation lines joined to the header before.
struct HandshakeBlock {
    QByteArray startLine;
    QMap<QByteArray, QByteArray> headers; // names in lower case

    QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
    // The status code of a response line, or 0.
    int statusCode() const;
    QByteArray encode() const;
};

// Collects a handshake group from a connection's bytes. A block that breaks the limits (line
// length, line count, total size) or is not text makes the reader broken.
class HandshakeReader final {
public:
    static constexpr int MaxLineBytes = 4096;
    static constexpr int MaxLines = 100;
    static constexpr int MaxBytes = 32 * 1024;

    enum class Result { NeedMore, Complete, Broken };
    // Takes bytes; on Complete, block holds the group and rest the bytes that followed it.
    Result feed(const QByteArray& bytes, HandshakeBlock& block, QByteArray& rest);

private:
    QByteArray m_buffer;
    bool m_broken = false;
};

// Hosts of an X-Try-Ultrapeers (or X-Try) value: "ip[:port][ timestamp]" entries separated by
// commas; the port defaults to 6346. Entries that are not an IPv4 address are skipped.
struct HostAddress {
    uint32_t ip = 0;
    uint16_t port = 6346;
    QString text() const;
    bool operator==(const HostAddress&) const = default;
};
QList<HostAddress> ParseTryHosts(const QByteArray& value, int limit = 100);
// One "ip[:port]" text, or nothing.
std::optional<HostAddress> ParseHostAddress(const QByteArray& text);

} // namespace gnutella
