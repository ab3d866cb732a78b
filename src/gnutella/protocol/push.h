#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace gnutella {

// A push: asks the firewalled host with the given servent GUID to connect out to ip:port and
// offer the file of the given index there.
struct PushPayload {
    QByteArray serventGuid; // 16 bytes
    uint32_t index = 0;
    uint32_t ip = 0;
    uint16_t port = 0;

    QByteArray encode() const;
    // Nothing when shorter than 26 bytes; an extension block after them is ignored.
    static std::optional<PushPayload> decode(const QByteArray& payload);
};

// The line a pushed host sends first on the connection it opens: "GIV index:guid/name", the
// servent GUID in hexadecimal, ended by an empty line.
struct GivLine {
    uint32_t index = 0;
    QByteArray serventGuid; // 16 bytes
    QString name;

    QByteArray encode() const;
    // The first line of what arrived, without its line end; nothing unless it is a GIV line
    // with a number and a GUID of 32 hex digits.
    static std::optional<GivLine> parse(const QByteArray& line);

    static constexpr qsizetype MaxBytes = 4096;
};

} // namespace gnutella
