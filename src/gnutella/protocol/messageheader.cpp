#include "gnutella/protocol/messageheader.h"

#include <QRandomGenerator>

namespace gnutella {

QByteArray MessageHeader::encode() const
{
    QByteArray bytes = guid.leftJustified(16, '\0', true);
    bytes.append(char(type));
    bytes.append(char(ttl));
    bytes.append(char(hops));
    for (int shift = 0; shift < 32; shift += 8)
        bytes.append(char((length >> shift) & 0xFF));
    return bytes;
}

std::optional<MessageHeader> MessageHeader::decode(const char* bytes, int64_t size)
{
    if (size < Size)
        return std::nullopt;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    MessageHeader header;
    header.guid = QByteArray(bytes, 16);
    header.type = b[16];
    header.ttl = b[17];
    header.hops = b[18];
    header.length = uint32_t(b[19]) | uint32_t(b[20]) << 8 | uint32_t(b[21]) << 16 |
                    uint32_t(b[22]) << 24;
    return header;
}

QByteArray NewGuid()
{
    QByteArray guid(16, '\0');
    QRandomGenerator::global()->generate(reinterpret_cast<quint32*>(guid.data()),
                                         reinterpret_cast<quint32*>(guid.data() + 16));
    guid[8] = char(0xFF);
    guid[15] = '\0';
    return guid;
}

QByteArray Message::encode() const
{
    MessageHeader sized = header;
    sized.length = uint32_t(payload.size());
    return sized.encode() + payload;
}

} // namespace gnutella
