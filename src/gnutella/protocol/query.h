#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

namespace gnutella {

// The flags of a query's first two bytes (big-endian), in the new meaning that bit 15 turns on.
enum QueryFlags : uint16_t {
    QueryUsesFlags = 0x8000, QueryFirewalled = 0x4000, QueryWantsXml = 0x2000,
    QueryLeafGuided = 0x1000, QueryGgepH = 0x0800, QueryOutOfBand = 0x0400
};

struct QueryPayload {
    uint16_t flags = QueryUsesFlags;
    QString text;
    // SHA-1 URNs asked for, as "urn:sha1:<base32>".
    QList<QByteArray> urns;

    QByteArray encode() const;
    // Nothing when the payload is too short, has no terminated text, or its text is longer
    // than the limit.
    static std::optional<QueryPayload> decode(const QByteArray& payload);

    static constexpr int MaxTextBytes = 256;
};

} // namespace gnutella
