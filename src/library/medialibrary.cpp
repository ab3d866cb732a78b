#include "library/medialibrary.h"

#include "common/formatting.h"
#include "media/fileinfo.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>

namespace {

// Every entry of the folder that is not a folder, whatever its name or attributes.
QDir::Filters fileEntries()
{
    return QDir::Files | QDir::Hidden | QDir::System;
}

// How often a scan lets the window repaint.
constexpr int kPauseMilliseconds = 50;

} // namespace

MediaRecord MediaLibrary::ReadRecord(const QString& folder, const QString& fileName, int32_t size)
{
    const FileInfo info = ReadFileInfo(folder + QLatin1Char('/') + fileName);
    MediaRecord record;
    record.fDirectory = folder;
    record.fFileName = fileName;
    record.fFileSize = size;
    record.fTitle = info.Title.isEmpty() ? FileTitle(fileName) : info.Title;
    record.fArtist = info.Artist;
    record.fAlbum = info.Album;
    record.fGenre = info.Genre;
    record.fYear = info.Year;
    record.fQuality = info.BitRate;
    record.fSeconds = info.Seconds;
    return record;
}

void MediaLibrary::RemoveMissingFiles(const QString& folder)
{
    QStringList missing;
    for (const MediaRecord& record : m_db.SelectAllMedia()) {
        const QFileInfo entry(folder + QLatin1Char('/') + record.fFileName);
        if (!entry.exists() || entry.isDir())
            missing << record.fFileName;
    }
    for (const QString& name : std::as_const(missing))
        m_db.DeleteMedia(folder, name);
}

void MediaLibrary::ScanFolder(const QString& folder, const std::function<void()>& pause)
{
    // One transaction for the whole scan; what was added stays even when a later file fails.
    m_db.BeginBatch();
    try {
        addNewFiles(folder, pause);
    } catch (...) {
        m_db.EndBatch();
        throw;
    }
    m_db.EndBatch();
}

void MediaLibrary::addNewFiles(const QString& folder, const std::function<void()>& pause)
{
    RemoveMissingFiles(folder);
    QElapsedTimer sincePause;
    sincePause.start();
    QDirIterator entries(folder, fileEntries());
    while (entries.hasNext()) {
        entries.next();
        const QFileInfo entry = entries.fileInfo();
        const QString name = entry.fileName();
        if (!m_db.FindMedia(folder, name).empty())
            continue;
        m_db.AddMedia(ReadRecord(folder, name, int32_t(std::min<qint64>(entry.size(), INT32_MAX))));
        if (pause && sincePause.elapsed() >= kPauseMilliseconds) {
            pause();
            sincePause.restart();
        }
    }
}
