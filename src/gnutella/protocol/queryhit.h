#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace gnutella {

// One file of a query hit.
struct HitResult {
    uint32_t index = 0;
    uint32_t size = 0;
    QString name; // shown as text only: never a path
    QByteArray sha1Urn; // "urn:sha1:<base32>", or empty when the hit names none
};

// A query hit: the responder's address and speed, its files, the trailer's vendor code and
// flags, and the responder's servent GUID.
struct QueryHitPayload {
    uint16_t port = 0;
    uint32_t ip = 0;
    uint32_t speed = 0;
    std::vector<HitResult> results;
    QByteArray vendor;     // 4 letters, or empty without a trailer
    bool needsPush = false; // the responder is firewalled
    bool busy = false;
    QByteArray serventGuid; // 16 bytes

    QByteArray encode() const;
    // Nothing when the records do not fit the payload exactly as their count says.
    static std::optional<QueryHitPayload> decode(const QByteArray& payload);

    static constexpr int MaxNameBytes = 1024;
};

} // namespace gnutella
