#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <cstdint>
#include <optional>

namespace gnutella {

// The status code of a response line "<protocol>x.y code text" (protocol "GNUTELLA/" or
// "HTTP/"), or 0.
int StatusCodeOf(const QByteArray& line, const QByteArray& protocol);

// One handshake group: a start line ("GNUTELLA CONNECT/0.6" or "GNUTELLA/0.6 200 OK") and
// HTTP-like headers, names without regard to letter case, repeated headers joined by commas,
// continuation lines joined to the header before.
struct HandshakeBlock {
    QByteArray startLine;
    QMap<QByteArray, QByteArray> headers; // names in lower case

    QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
    // The status code of a response line, or 0.
    int statusCode() const { return StatusCodeOf(startLine, "GNUTELLA/"); }
    QByteArray encode() const;
};

// Collects a handshake group (or any head of that form, such as HTTP's) from a connection's
// bytes. A block that breaks the limits (line length, line count, total size) or is not text
// makes the reader broken.
class HandshakeReader final {
public:
    struct Limits {
        int lineBytes;
        int lines;
        int bytes;
    };
    static constexpr Limits HandshakeLimits{4096, 100, 32 * 1024};

    explicit HandshakeReader(Limits limits = HandshakeLimits) : m_limits(limits) {}

    enum class Result { NeedMore, Complete, Broken };
    // Takes bytes; on Complete, block holds the group and rest the bytes that followed it.
    Result feed(const QByteArray& bytes, HandshakeBlock& block, QByteArray& rest);

private:
    Limits m_limits;
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
