#include "gnutella/protocol/queryhit.h"

#include "gnutella/protocol/base32.h"
#include "gnutella/protocol/ggep.h"
#include "gnutella/protocol/wire.h"

namespace gnutella {

namespace {

constexpr int kHead = 11;
constexpr int kGuid = 16;

// The SHA-1 URN of a record's extension area: a "urn:sha1:" text part or a GGEP "H" hash.
QByteArray sha1Of(const QByteArray& area)
{
    qsizetype at = 0;
    while (at < area.size()) {
        if (static_cast<unsigned char>(area[at]) == 0xC3) {
            qsizetype used = 0;
            if (auto block = ParseGgep(area.constData() + at, area.size() - at, &used)) {
                for (const GgepExtension& e : *block)
                    if (e.id == "H" && e.data.size() >= 21 && e.data[0] == 1)
                        return "urn:sha1:" + Base32Encode(e.data.mid(1, 20));
                at += used;
                continue;
            }
            return {};
        }
        qsizetype next = area.indexOf('\x1C', at);
        if (next < 0)
            next = area.size();
        const QByteArray part = area.mid(at, next - at);
        if (part.size() >= 41 && part.left(9).toLower() == "urn:sha1:") {
            const QByteArray code = part.mid(9, 32).toUpper();
            if (Base32Decode(code))
                return "urn:sha1:" + code;
        }
        at = next + 1;
    }
    return {};
}

} // namespace

std::optional<QueryHitPayload> QueryHitPayload::decode(const QByteArray& payload)
{
    if (payload.size() < kHead + kGuid)
        return std::nullopt;
    const char* b = payload.constData();
    QueryHitPayload hit;
    const int count = static_cast<unsigned char>(b[0]);
    hit.port = little16(b + 1);
    hit.ip = big32(b + 3);
    hit.speed = little32(b + 7);
    const qsizetype end = payload.size() - kGuid;
    qsizetype at = kHead;
    hit.results.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        if (at + 8 > end)
            return std::nullopt;
        HitResult result;
        result.index = little32(b + at);
        result.size = little32(b + at + 4);
        at += 8;
        const qsizetype nameEnd = payload.indexOf('\0', at);
        if (nameEnd < 0 || nameEnd >= end || nameEnd - at > MaxNameBytes)
            return std::nullopt;
        result.name = QString::fromUtf8(b + at, nameEnd - at);
        at = nameEnd + 1;
        // The extension area ends at the next NUL; GGEP blocks in it hold no NUL (COBS).
        const qsizetype areaEnd = payload.indexOf('\0', at);
        if (areaEnd < 0 || areaEnd >= end)
            return std::nullopt;
        result.sha1Urn = sha1Of(payload.mid(at, areaEnd - at));
        at = areaEnd + 1;
        hit.results.push_back(std::move(result));
    }
    // Whatever lies between the records and the GUID is the trailer.
    if (end - at >= 5) {
        hit.vendor = payload.mid(at, 4);
        const int openSize = static_cast<unsigned char>(b[at + 4]);
        if (openSize >= 2 && at + 5 + 2 <= end) {
            const auto flagsA = static_cast<unsigned char>(b[at + 5]);
            const auto flagsB = static_cast<unsigned char>(b[at + 6]);
            hit.needsPush = (flagsA & 0x01) && (flagsB & 0x01);
            hit.busy = (flagsA & 0x04) && (flagsB & 0x04);
        }
    }
    hit.serventGuid = payload.right(kGuid);
    return hit;
}

QByteArray QueryHitPayload::encode() const
{
    QByteArray out;
    out.append(char(std::min<size_t>(results.size(), 255)));
    putLittle16(out, port);
    putBig32(out, ip);
    putLittle32(out, speed);
    for (size_t i = 0; i < results.size() && i < 255; ++i) {
        const HitResult& r = results[i];
        putLittle32(out, r.index);
        putLittle32(out, r.size);
        out.append(r.name.toUtf8().left(MaxNameBytes).replace('\0', ' '));
        out.append('\0');
        out.append(r.sha1Urn);
        out.append('\0');
    }
    if (!vendor.isEmpty()) {
        out.append(vendor.leftJustified(4, ' ', true));
        out.append('\x02');
        // Every flag is meaningful: push in byte A, busy in byte B.
        out.append(char(0x1C | (needsPush ? 0x01 : 0)));
        out.append(char(0x01 | (busy ? 0x04 : 0)));
    }
    out.append(serventGuid.leftJustified(kGuid, '\0', true));
    return out;
}

} // namespace gnutella
