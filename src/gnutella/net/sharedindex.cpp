#include "gnutella/net/sharedindex.h"

#include "gnutella/protocol/sha1.h"

#include <QDir>
#include <QFile>
#include <QDateTime>
#include <QRegularExpression>

namespace gnutella {

QStringList SharedIndex::wordsOf(const QString& text)
{
    static const QRegularExpression separators(QStringLiteral("[^\\p{L}\\p{N}]+"));
    return text.toLower().split(separators, Qt::SkipEmptyParts);
}

void SharedIndex::scan(const QString& folder)
{
    m_files.clear();
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    uint32_t index = 1;
    for (const QFileInfo& entry : entries) {
        if (entry.size() > 0xFFFFFFFFLL)
            continue;
        const QString key = QStringLiteral("%1|%2|%3")
                                .arg(entry.absoluteFilePath())
                                .arg(entry.size())
                                .arg(entry.lastModified().toMSecsSinceEpoch());
        QByteArray urn = m_hashes.value(key);
        if (urn.isEmpty()) {
            QFile file(entry.absoluteFilePath());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            Sha1 hash;
            if (!hash.addAll(file))
                continue;
            urn = hash.urn();
            m_hashes.insert(key, urn);
        }
        m_files.push_back({index++, entry.fileName(), entry.absoluteFilePath(),
                           uint32_t(entry.size()), urn, wordsOf(entry.completeBaseName())});
    }
}

std::vector<const SharedIndex::File*> SharedIndex::match(const QString& query,
                                                         const QList<QByteArray>& urns,
                                                         int limit) const
{
    std::vector<const File*> found;
    const QStringList words = wordsOf(query);
    for (const File& file : m_files) {
        if (int(found.size()) >= limit)
            break;
        bool matches = urns.contains(file.sha1Urn);
        if (!matches && !words.isEmpty()) {
            matches = true;
            for (const QString& word : words)
                if (!file.words.contains(word) &&
                    !std::any_of(file.words.begin(), file.words.end(),
                                 [&](const QString& w) { return w.startsWith(word); })) {
                    matches = false;
                    break;
                }
        }
        if (matches)
            found.push_back(&file);
    }
    return found;
}

const SharedIndex::File* SharedIndex::byIndex(uint32_t index) const
{
    for (const File& file : m_files)
        if (file.index == index)
            return &file;
    return nullptr;
}

const SharedIndex::File* SharedIndex::byUrn(const QByteArray& urn) const
{
    for (const File& file : m_files)
        if (file.sha1Urn.compare(urn, Qt::CaseInsensitive) == 0)
            return &file;
    return nullptr;
}

} // namespace gnutella
