#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

namespace gnutella {

// The files a node shares: one folder, one level deep. Each file's SHA-1 URN is computed once
// and kept as long as the file's size and time stay the same.
class SharedIndex final {
public:
    struct File {
        uint32_t index = 0;
        QString name;
        QString path;
        uint32_t size = 0;
        QByteArray sha1Urn;
        QStringList words; // the name's words, lower case
    };

    void scan(const QString& folder);
    const std::vector<File>& files() const { return m_files; }
    // Files whose name holds every word of the query (without regard to case), or whose URN is
    // one of urns; at most limit.
    std::vector<const File*> match(const QString& query, const QList<QByteArray>& urns,
                                   int limit) const;
    const File* byIndex(uint32_t index) const;
    const File* byUrn(const QByteArray& urn) const;

    static QStringList wordsOf(const QString& text);

private:
    std::vector<File> m_files;
    QHash<QString, QByteArray> m_hashes; // "path|size|mtime" -> urn
};

} // namespace gnutella
