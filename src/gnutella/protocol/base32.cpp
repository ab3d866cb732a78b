#include "gnutella/protocol/base32.h"

namespace gnutella {

namespace {
const char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ234567";
}

QByteArray Base32Encode(const QByteArray& bytes)
{
    QByteArray out;
    uint32_t buffer = 0;
    int bits = 0;
    for (const char c : bytes) {
        buffer = (buffer << 8) | static_cast<unsigned char>(c);
        bits += 8;
        while (bits >= 5) {
            out.append(kAlphabet[(buffer >> (bits - 5)) & 31]);
            bits -= 5;
        }
    }
    if (bits > 0)
        out.append(kAlphabet[(buffer << (5 - bits)) & 31]);
    return out;
}

std::optional<QByteArray> Base32Decode(const QByteArray& text)
{
    QByteArray out;
    uint32_t buffer = 0;
    int bits = 0;
    for (const char c : text) {
        int value;
        if (c >= 'A' && c <= 'Z')
            value = c - 'A';
        else if (c >= 'a' && c <= 'z')
            value = c - 'a';
        else if (c >= '2' && c <= '7')
            value = c - '2' + 26;
        else
            return std::nullopt;
        buffer = (buffer << 5) | uint32_t(value);
        bits += 5;
        if (bits >= 8) {
            out.append(char((buffer >> (bits - 8)) & 0xFF));
            bits -= 8;
        }
    }
    return out;
}

} // namespace gnutella
