#pragma once

#include <QByteArray>
#include <cstdint>

// Byte order helpers: payload numbers are little-endian, IPv4 addresses and the query flags
// big-endian.
namespace gnutella {

inline uint16_t little16(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint16_t(b[0] | b[1] << 8);
}
inline uint32_t little32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}
inline uint32_t big32(const char* p)
{
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | uint32_t(b[3]);
}
inline void putLittle16(QByteArray& out, uint16_t v)
{
    out.append(char(v & 0xFF));
    out.append(char(v >> 8));
}
inline void putLittle32(QByteArray& out, uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.append(char((v >> shift) & 0xFF));
}
inline void putBig32(QByteArray& out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((v >> shift) & 0xFF));
}

} // namespace gnutella
