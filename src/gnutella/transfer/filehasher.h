#pragma once

#include "gnutella/protocol/sha1.h"

#include <QFile>
#include <QObject>
#include <map>
#include <memory>

namespace gnutella {

// Hashes the partial files of downloads on a thread of its own while they fill: each file's
// SHA-1 follows its held start, so that at the end only the last bytes are left to hash and the
// network thread never waits for a file to be read. Its slots are called queued, in order.
class FileHasher final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~FileHasher() override;

public slots:
    // The file's first upTo bytes are on disk for good.
    void follow(qint32 id, const QString& path, qint64 upTo);
    // Hashes the rest of the file and reports its URN (empty when it could not be read).
    void finish(qint32 id, const QString& path, qint64 size);
    // Drops what was hashed: the download is gone or its bytes will be fetched again.
    void forget(qint32 id);

signals:
    void finished(qint32 id, const QByteArray& urn);

private:
    struct File {
        QFile file;
        Sha1 hash;
        qint64 hashedTo = 0;
    };
    // Hashes up to upTo; false when the file could not be read.
    bool hashTo(File& state, const QString& path, qint64 upTo);

    std::map<qint32, std::unique_ptr<File>> m_files;
};

} // namespace gnutella
