#pragma once

#include "gnutella/protocol/ggep.h"

#include <QByteArray>
#include <cstdint>
#include <optional>

namespace gnutella {

// A pong: a host's address and what it shares, with an optional GGEP block.
struct PongPayload {
    uint16_t port = 0;
    uint32_t ip = 0; // a.b.c.d as (a << 24) | (b << 16) | (c << 8) | d
    uint32_t files = 0;
    uint32_t kilobytes = 0;
    std::vector<GgepExtension> ggep;

    QByteArray encode() const;
    // Nothing when shorter than 14 bytes; a malformed GGEP block is ignored.
    static std::optional<PongPayload> decode(const QByteArray& payload);
};

} // namespace gnutella
