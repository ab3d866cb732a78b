#pragma once

#include <QByteArray>
#include <cstdint>
#include <optional>

namespace gnutella {

enum MessageType : uint8_t {
    Ping = 0x00, Pong = 0x01, Bye = 0x02, RouteTable = 0x30, Vendor = 0x31, StandardVendor = 0x32,
    Push = 0x40, Query = 0x80, QueryHit = 0x81
};

// The 23 bytes in front of every message: GUID, payload type, TTL, hops and the payload length
// (little-endian).
struct MessageHeader {
    static constexpr int Size = 23;

    QByteArray guid; // 16 bytes
    uint8_t type = 0;
    uint8_t ttl = 0;
    uint8_t hops = 0;
    uint32_t length = 0;

    QByteArray encode() const;
    // Nothing when fewer than 23 bytes are given.
    static std::optional<MessageHeader> decode(const char* bytes, int64_t size);
};

// A fresh message GUID: random, marked as a modern servent's (byte 8 is 0xFF, byte 15 is 0).
QByteArray NewGuid();

struct Message {
    MessageHeader header;
    QByteArray payload;
    QByteArray encode() const;
};

} // namespace gnutella
