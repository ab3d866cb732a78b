// bench_library [FOLDER] [COUNT]: the library's first scan of COUNT new files against a plain
// baseline written for the purpose (TagLib reading each file, one autocommitted SQLite INSERT
// per file), then a rescan of the unchanged folder and a list load, in one run.

#include "library/audioplayer.h"
#include "library/framedia.h"
#include "library/medialibrary.h"
#include "platform/viewhost.h"
#include "support/mp3builder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <cstdio>
#include <sqlite3.h>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

namespace {

// A player that plays nothing; the list is what is measured.
class SilentPlayer final : public AudioPlayer {
public:
    void open(const QString&) override {}
    void play() override {}
    void pause() override {}
    void stop() override {}
    bool isPaused() const override { return true; }
    double position() const override { return 0; }
    double length() const override { return 0; }
    void seek(double) override {}
    void setVolume(int) override {}
};

class BenchHost final : public ViewHost {
public:
    explicit BenchHost(QString appPath) : m_appPath(std::move(appPath)) {}
    QString AppPath() const override { return m_appPath; }
    void SetStatusText(int, const QString&) override {}
    void SetCaption(const QString&) override {}
    QAbstractButton* PlayButton() override { return nullptr; }

private:
    QString m_appPath;
};

void makeFolder(const QString& folder, int count)
{
    QDir().mkpath(folder);
    for (int i = 0; i < count; ++i) {
        const QString path = QDir(folder).filePath(QStringLiteral("Artist %1 - Song %2.mp3").arg(i % 97).arg(i));
        if (QFile::exists(path))
            continue;
        QByteArray bytes;
        if (i % 2 == 0)
            bytes += mp3::id3v2(3, {{"TIT2", mp3::latin1Text("Song " + QByteArray::number(i))},
                                    {"TPE1", mp3::latin1Text("Artist " + QByteArray::number(i % 97))},
                                    {"TALB", mp3::latin1Text("Album")}},
                                256);
        bytes += mp3::stream({}, 40000 + (i % 7) * 10000);
        if (i % 3 == 0)
            bytes += mp3::id3v1("Song", "Artist", "Album", "1999", 13);
        QFile out(path);
        if (out.open(QIODevice::WriteOnly))
            out.write(bytes);
    }
}

double baseline(const QString& folder, const QString& dbPath)
{
    QFile::remove(dbPath);
    sqlite3* db = nullptr;
    sqlite3_open(QFile::encodeName(dbPath).constData(), &db);
    sqlite3_exec(db, "CREATE TABLE tMedia (fDirectory TEXT, fFileName TEXT, fFileSize INTEGER, "
                     "fTitle TEXT, fArtist TEXT, fAlbum TEXT, fGenre TEXT, fYear TEXT, "
                     "fQuality INTEGER, fSeconds INTEGER)",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO tMedia VALUES (?,?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr);
    QElapsedTimer clock;
    clock.start();
    const QDir dir(folder);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files)) {
        const QByteArray path = QFile::encodeName(entry.filePath());
        TagLib::FileRef file(path.constData(), true, TagLib::AudioProperties::Average);
        const TagLib::Tag* tag = file.tag();
        const TagLib::AudioProperties* properties = file.audioProperties();
        const std::string title = tag ? tag->title().to8Bit(true) : std::string();
        const std::string artist = tag ? tag->artist().to8Bit(true) : std::string();
        const QByteArray name = entry.fileName().toUtf8();
        sqlite3_bind_text(insert, 1, path.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, name.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(insert, 3, entry.size());
        sqlite3_bind_text(insert, 4, title.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 5, artist.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 9, properties ? properties->bitrate() : 0);
        sqlite3_bind_int(insert, 10, properties ? properties->lengthInSeconds() : 0);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    const double seconds = clock.elapsed() / 1000.0;
    sqlite3_finalize(insert);
    sqlite3_close(db);
    return seconds;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QDir::tempPath() + QStringLiteral("/tavrin-bench-library");
    const int count = argc > 2 ? std::atoi(argv[2]) : 10000;
    const QString folder = base + QStringLiteral("/music");
    QDir().mkpath(base + QStringLiteral("/Data"));
    makeFolder(folder, count);
    std::printf("%d files in %s\n", count, qPrintable(folder));

    const double taglibSeconds = baseline(folder, base + QStringLiteral("/baseline.db"));

    const QString dbPath = base + QStringLiteral("/Data/MyMedia.edb");
    QFile::remove(dbPath);
    TMyMediaDB db;
    db.OpenDatabase(dbPath);
    QElapsedTimer clock;
    clock.start();
    MediaLibrary(db).ScanFolder(folder);
    const double firstScan = clock.elapsed() / 1000.0;
    clock.restart();
    MediaLibrary(db).ScanFolder(folder);
    const double rescan = clock.elapsed() / 1000.0;

    BenchHost host(base);
    TfraMedia view(host, std::make_unique<SilentPlayer>());
    view.Initialize();
    clock.restart();
    view.LoadList();
    const double listLoad = clock.elapsed() / 1000.0;

    std::printf("first scan: tavrin %.2f s, baseline (TagLib + autocommit INSERT) %.2f s, ratio %.1f\n",
                firstScan, taglibSeconds, taglibSeconds / firstScan);
    std::printf("rescan of the unchanged folder: %.3f s\n", rescan);
    std::printf("list load of %d records: %.3f s\n", view.model().rowCount(), listLoad);
    return 0;
}
