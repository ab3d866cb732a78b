#include "gnutella/protocol/query.h"

namespace gnutella {

QByteArray QueryPayload::encode() const
{
    QByteArray out;
    out.append(char(flags >> 8));
    out.append(char(flags & 0xFF));
    out.append(text.toUtf8().left(MaxTextBytes));
    out.append('\0');
    for (qsizetype i = 0; i < urns.size(); ++i) {
        if (i > 0)
            out.append('\x1C');
        out.append(urns[i]);
    }
    if (!urns.isEmpty())
        out.append('\0');
    return out;
}

std::optional<QueryPayload> QueryPayload::decode(const QByteArray& payload)
{
    if (payload.size() < 3)
        return std::nullopt;
    const qsizetype end = payload.indexOf('\0', 2);
    if (end < 0 || end - 2 > MaxTextBytes)
        return std::nullopt;
    QueryPayload query;
    query.flags = uint16_t(static_cast<unsigned char>(payload[0]) << 8 |
                           static_cast<unsigned char>(payload[1]));
    query.text = QString::fromUtf8(payload.constData() + 2, end - 2);
    // The extension area: parts separated by 0x1C; only SHA-1 URNs are taken from it.
    QByteArray extensions = payload.mid(end + 1);
    extensions.replace('\0', '\x1C');
    for (const QByteArray& part : extensions.split('\x1C')) {
        const QByteArray item = part.trimmed();
        if (item.size() == 41 && item.left(9).toLower() == "urn:sha1:")
            query.urns << "urn:sha1:" + item.mid(9).toUpper();
    }
    return query;
}

} // namespace gnutella
