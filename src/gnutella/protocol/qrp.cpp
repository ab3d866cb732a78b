#include "gnutella/protocol/qrp.h"

#include "gnutella/protocol/wire.h"

#include <QRegularExpression>
#include <zlib.h>

namespace gnutella {

namespace {
constexpr int kInfinity = 7;
constexpr qsizetype kChunk = 4096;
} // namespace

uint32_t QrpHash(const QByteArray& word, int bits)
{
    uint32_t x = 0;
    int j = 0;
    for (const char c : word) {
        x ^= uint32_t(static_cast<unsigned char>(c)) << (8 * j);
        j = (j + 1) % 4;
    }
    const uint32_t product = uint32_t(uint64_t(x) * 0x4F1BBCDCu);
    return bits <= 0 ? 0 : product >> (32 - bits);
}

QStringList QrpKeywords(const QString& name)
{
    static const QRegularExpression separators(QStringLiteral("[^\\p{L}\\p{N}]+"));
    QStringList keywords;
    const QString plain = name.normalized(QString::NormalizationForm_D).toLower();
    for (const QString& word : plain.split(separators, Qt::SkipEmptyParts)) {
        QString ascii;
        for (QChar c : word)
            if (c.unicode() < 128)
                ascii += c;
        for (int cut = 0; cut <= 3 && ascii.size() - cut >= 3; ++cut)
            if (!keywords.contains(ascii.left(ascii.size() - cut)))
                keywords << ascii.left(ascii.size() - cut);
    }
    return keywords;
}

QueryRouteTable::QueryRouteTable(uint32_t size) : m_size(size), m_present(size, false) {}

int QueryRouteTable::bits() const
{
    int bits = 0;
    while ((1u << bits) < m_size)
        ++bits;
    return bits;
}

void QueryRouteTable::addKeywords(const QString& name)
{
    for (const QString& word : QrpKeywords(name))
        m_present[QrpHash(word.toLatin1(), bits()) % m_size] = true;
}

void QueryRouteTable::addUrn(const QByteArray& urn)
{
    m_present[QrpHash(urn.toLower(), bits()) % m_size] = true;
}

QList<Message> QueryRouteTable::messages() const
{
    QList<Message> out;
    QByteArray reset(1, '\0');
    putLittle32(reset, m_size);
    reset.append(char(kInfinity));
    out << Message{{NewGuid(), RouteTable, 1, 0, 0}, reset};
    // Four bits a slot, the even slot in the high nibble; present slots are -6 (0xA).
    QByteArray entries(qsizetype(m_size / 2), '\0');
    for (uint32_t slot = 0; slot < m_size; ++slot)
        if (m_present[slot])
            entries[slot / 2] = char(entries[slot / 2] | (slot % 2 == 0 ? 0xA0 : 0x0A));
    uLongf packedSize = compressBound(uLong(entries.size()));
    QByteArray packed(qsizetype(packedSize), '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
             reinterpret_cast<const Bytef*>(entries.constData()), uLong(entries.size()));
    packed.truncate(qsizetype(packedSize));
    const int count = int((packed.size() + kChunk - 1) / kChunk);
    for (int i = 0; i < count; ++i) {
        QByteArray patch;
        patch.append('\x01');
        patch.append(char(i + 1));
        patch.append(char(count));
        patch.append('\x01'); // zlib
        patch.append('\x04'); // four bits a slot
        patch.append(packed.mid(i * kChunk, kChunk));
        out << Message{{NewGuid(), RouteTable, 1, 0, 0}, patch};
    }
    return out;
}

bool QueryRouteTable::apply(const QByteArray& payload)
{
    if (payload.isEmpty())
        return false;
    const char* b = payload.constData();
    if (payload[0] == 0) {
        if (payload.size() < 6)
            return false;
        const uint32_t size = little32(b + 1);
        if (size < MinSize || size > MaxSize || (size & (size - 1)) != 0)
            return false;
        m_size = size;
        m_present.assign(size, false);
        m_patch.clear();
        m_expectedSequence = 1;
        m_received = true;
        return true;
    }
    if (payload[0] != 1 || payload.size() < 5 || !m_received)
        return false;
    const int sequence = static_cast<unsigned char>(b[1]);
    const int total = static_cast<unsigned char>(b[2]);
    const int compressor = static_cast<unsigned char>(b[3]);
    const int entryBits = static_cast<unsigned char>(b[4]);
    if (sequence != m_expectedSequence || sequence > total || compressor > 1 ||
        (entryBits != 4 && entryBits != 8))
        return false;
    if (sequence == 1) {
        m_patch.clear();
        m_entryBits = entryBits;
        m_compressed = compressor == 1;
    }
    m_patch += payload.mid(5);
    // The patch, whole or compressed, can never be longer than the table needs.
    const qsizetype needed = (qsizetype(m_size) * m_entryBits + 7) / 8;
    if (m_patch.size() > needed + 1024)
        return false;
    if (sequence < total) {
        ++m_expectedSequence;
        return true;
    }
    m_expectedSequence = 1;
    QByteArray entries;
    if (m_compressed) {
        // The table's size bounds what the patch may inflate to.
        entries = QByteArray(needed, '\0');
        uLongf size = uLongf(needed);
        if (uncompress(reinterpret_cast<Bytef*>(entries.data()), &size,
                       reinterpret_cast<const Bytef*>(m_patch.constData()), uLong(m_patch.size())) != Z_OK ||
            qsizetype(size) != needed)
            return false;
    } else {
        entries = m_patch;
    }
    m_patch.clear();
    if (entries.size() != needed)
        return false;
    // Signed deltas: below zero the slot is now present, above zero absent.
    for (uint32_t slot = 0; slot < m_size; ++slot) {
        int delta;
        if (m_entryBits == 8) {
            delta = static_cast<signed char>(entries[slot]);
        } else {
            const auto byte = static_cast<unsigned char>(entries[slot / 2]);
            const int nibble = slot % 2 == 0 ? byte >> 4 : byte & 0x0F;
            delta = nibble >= 8 ? nibble - 16 : nibble;
        }
        if (delta < 0)
            m_present[slot] = true;
        else if (delta > 0)
            m_present[slot] = false;
    }
    return true;
}

bool QueryRouteTable::mayMatch(const QString& query, const QList<QByteArray>& urns) const
{
    for (const QByteArray& urn : urns)
        if (m_present[QrpHash(urn.toLower(), bits()) % m_size])
            return true;
    // Every word of three letters or more must be present; shorter ones are not in tables.
    static const QRegularExpression separators(QStringLiteral("[^\\p{L}\\p{N}]+"));
    bool any = false;
    for (const QString& word : query.toLower().split(separators, Qt::SkipEmptyParts)) {
        if (word.size() < 3)
            continue;
        any = true;
        if (!m_present[QrpHash(word.toLatin1(), bits()) % m_size])
            return false;
    }
    return any;
}

} // namespace gnutella
