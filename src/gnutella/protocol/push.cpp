#include "gnutella/protocol/push.h"

#include "gnutella/protocol/wire.h"

#include <QUrl>

namespace gnutella {

QByteArray PushPayload::encode() const
{
    QByteArray out = serventGuid.left(16).leftJustified(16, '\0');
    putLittle32(out, index);
    putBig32(out, ip);
    putLittle16(out, port);
    return out;
}

std::optional<PushPayload> PushPayload::decode(const QByteArray& payload)
{
    if (payload.size() < 26)
        return std::nullopt;
    const char* b = payload.constData();
    PushPayload push;
    push.serventGuid = payload.left(16);
    push.index = little32(b + 16);
    push.ip = big32(b + 20);
    push.port = little16(b + 24);
    return push;
}

QByteArray GivLine::encode() const
{
    return "GIV " + QByteArray::number(index) + ':' + serventGuid.toHex().toUpper() + '/' +
           QUrl::toPercentEncoding(name, "()' !,;&=+$@") + "\n\n";
}

std::optional<GivLine> GivLine::parse(const QByteArray& line)
{
    if (!line.startsWith("GIV ") || line.size() > MaxBytes)
        return std::nullopt;
    const qsizetype colon = line.indexOf(':', 4);
    if (colon < 0)
        return std::nullopt;
    bool ok = false;
    GivLine giv;
    giv.index = line.mid(4, colon - 4).trimmed().toUInt(&ok);
    const QByteArray hex = line.mid(colon + 1, 32);
    const bool allHex = std::all_of(hex.begin(), hex.end(), [](char c) { return std::isxdigit(uchar(c)); });
    if (!ok || hex.size() != 32 || !allHex)
        return std::nullopt;
    giv.serventGuid = QByteArray::fromHex(hex);
    // The name is only a reminder; the GUID says who is calling.
    if (line.size() > colon + 33 && line[colon + 33] == '/')
        giv.name = QUrl::fromPercentEncoding(line.mid(colon + 34));
    return giv;
}

} // namespace gnutella
