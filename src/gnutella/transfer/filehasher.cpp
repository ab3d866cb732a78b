#include "gnutella/transfer/filehasher.h"

namespace gnutella {

FileHasher::~FileHasher() = default;

bool FileHasher::hashTo(File& state, const QString& path, qint64 upTo)
{
    if (!state.file.isOpen()) {
        state.file.setFileName(path);
        if (!state.file.open(QIODevice::ReadOnly))
            return false;
    }
    if (state.hashedTo >= upTo)
        return true;
    if (!state.file.seek(state.hashedTo))
        return false;
    QByteArray buffer(256 * 1024, Qt::Uninitialized);
    while (state.hashedTo < upTo) {
        const qint64 got = state.file.read(buffer.data(), std::min<qint64>(buffer.size(), upTo - state.hashedTo));
        if (got <= 0)
            return false;
        state.hash.add(QByteArrayView(buffer.constData(), got));
        state.hashedTo += got;
    }
    return true;
}

void FileHasher::follow(qint32 id, const QString& path, qint64 upTo)
{
    auto& state = m_files[id];
    if (!state)
        state = std::make_unique<File>();
    // A file that cannot be read now is hashed from the start at the end.
    if (!hashTo(*state, path, upTo))
        m_files.erase(id);
}

void FileHasher::finish(qint32 id, const QString& path, qint64 size)
{
    auto& state = m_files[id];
    if (!state)
        state = std::make_unique<File>();
    const bool read = hashTo(*state, path, size) && state->file.read(1).isEmpty();
    const QByteArray urn = read ? state->hash.urn() : QByteArray();
    m_files.erase(id);
    emit finished(id, urn);
}

void FileHasher::forget(qint32 id)
{
    m_files.erase(id);
}

} // namespace gnutella
