#include "gnutella/protocol/pong.h"

#include "gnutella/protocol/wire.h"

namespace gnutella {

QByteArray PongPayload::encode() const
{
    QByteArray out;
    putLittle16(out, port);
    putBig32(out, ip);
    putLittle32(out, files);
    putLittle32(out, kilobytes);
    if (!ggep.empty())
        out += EncodeGgep(ggep);
    return out;
}

std::optional<PongPayload> PongPayload::decode(const QByteArray& payload)
{
    if (payload.size() < 14)
        return std::nullopt;
    const char* b = payload.constData();
    PongPayload pong;
    pong.port = little16(b);
    pong.ip = big32(b + 2);
    pong.files = little32(b + 6);
    pong.kilobytes = little32(b + 10);
    if (payload.size() > 14)
        if (auto block = ParseGgep(b + 14, payload.size() - 14))
            pong.ggep = std::move(*block);
    return pong;
}

} // namespace gnutella
