#include "gnutella/protocol/ggep.h"

#include <zlib.h>

namespace gnutella {

namespace {

constexpr unsigned char kMagic = 0xC3;
constexpr unsigned char kLast = 0x80;
constexpr unsigned char kCobs = 0x40;
constexpr unsigned char kDeflate = 0x20;
constexpr unsigned char kReserved = 0x10;
constexpr int kMaxExtensions = 64;

std::optional<QByteArray> cobsDecode(const QByteArray& data)
{
    QByteArray out;
    qsizetype at = 0;
    while (at < data.size()) {
        const auto code = static_cast<unsigned char>(data[at++]);
        if (code == 0 || at + code - 1 > data.size())
            return std::nullopt;
        out.append(data.constData() + at, code - 1);
        at += code - 1;
        if (code < 0xFF && at < data.size())
            out.append('\0');
    }
    return out;
}

std::optional<QByteArray> inflateBounded(const QByteArray& data)
{
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        return std::nullopt;
    QByteArray out;
    char chunk[4096];
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    stream.avail_in = uInt(data.size());
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        status = inflate(&stream, Z_NO_FLUSH);
        out.append(chunk, qsizetype(sizeof chunk - stream.avail_out));
        if (out.size() > kMaxGgepData || (status == Z_BUF_ERROR && stream.avail_in == 0))
            break;
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END || out.size() > kMaxGgepData)
        return std::nullopt;
    return out;
}

} // namespace

std::optional<std::vector<GgepExtension>> ParseGgep(const char* bytes, qsizetype size,
                                                    qsizetype* consumed)
{
    const auto* b = reinterpret_cast<const unsigned char*>(bytes);
    if (size < 1 || b[0] != kMagic)
        return std::nullopt;
    std::vector<GgepExtension> extensions;
    qsizetype at = 1;
    for (;;) {
        if (at >= size || int(extensions.size()) >= kMaxExtensions)
            return std::nullopt;
        const unsigned char flags = b[at++];
        const int idLength = flags & 0x0F;
        if ((flags & kReserved) || idLength == 0 || at + idLength > size)
            return std::nullopt;
        QByteArray id(bytes + at, idLength);
        if (id.contains('\0'))
            return std::nullopt;
        at += idLength;
        // The length: up to three 6-bit chunks, the last one marked.
        qsizetype length = 0;
        bool ended = false;
        for (int i = 0; i < 3 && !ended; ++i) {
            if (at >= size)
                return std::nullopt;
            const unsigned char chunk = b[at++];
            length = (length << 6) | (chunk & 0x3F);
            ended = chunk & 0x40;
            if (!ended && !(chunk & 0x80))
                return std::nullopt;
        }
        if (!ended || at + length > size)
            return std::nullopt;
        QByteArray data(bytes + at, length);
        at += length;
        if (flags & kCobs) {
            auto decoded = cobsDecode(data);
            if (!decoded)
                return std::nullopt;
            data = *decoded;
        }
        if (flags & kDeflate) {
            auto inflated = inflateBounded(data);
            if (!inflated)
                return std::nullopt;
            data = *inflated;
        }
        extensions.push_back({id, data});
        if (flags & kLast)
            break;
    }
    if (consumed)
        *consumed = at;
    return extensions;
}

QByteArray EncodeGgep(const std::vector<GgepExtension>& extensions)
{
    QByteArray out(1, char(kMagic));
    for (size_t i = 0; i < extensions.size(); ++i) {
        const GgepExtension& e = extensions[i];
        const QByteArray id = e.id.left(15);
        out.append(char((i + 1 == extensions.size() ? kLast : 0) | id.size()));
        out.append(id);
        const qsizetype length = std::min<qsizetype>(e.data.size(), 262143);
        if (length >= 4096)
            out.append(char(0x80 | (length >> 12)));
        if (length >= 64)
            out.append(char(0x80 | ((length >> 6) & 0x3F)));
        out.append(char(0x40 | (length & 0x3F)));
        out.append(e.data.left(length));
    }
    return out;
}

} // namespace gnutella
