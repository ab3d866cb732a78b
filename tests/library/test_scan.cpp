#include "library/medialibrary.h"
#include "support/mp3builder.h"
#include "support/testfolder.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

using mp3::latin1Text;

struct ScanTest : ::testing::Test {
    TestFolder app;
    TestFolder music;
    TMyMediaDB db;

    void SetUp() override { db.OpenDatabase(app.file(QStringLiteral("MyMedia.edb"))); }

    MediaRecord stored(const QString& name)
    {
        const auto found = db.FindMedia(music.path(), name);
        return found.empty() ? MediaRecord{} : found.front();
    }
};

TEST_F(ScanTest, TaggedUntaggedAndTextFilesWithTheirFallbacks)
{
    music.write(QStringLiteral("tagged.mp3"),
                mp3::id3v2(3, {{"TIT2", latin1Text("Tagged Title")}, {"TYER", latin1Text("2004")}}) +
                    mp3::stream({}, 160000) +
                    mp3::id3v1("V1 Title", "V1 Artist", "V1 Album", "1990", 17));
    music.write(QStringLiteral("Plain Name.mp3"), mp3::stream({}, 80000));
    music.write(QStringLiteral("notes.txt"), "hello");
    music.write(QStringLiteral(".hidden.mp3"), mp3::stream({}, 80000));
    QDir(music.path()).mkdir(QStringLiteral("sub"));
    music.write(QStringLiteral("sub/deeper.mp3"), mp3::stream({}, 80000));

    MediaLibrary(db).ScanFolder(music.path());
    EXPECT_EQ(db.SelectAllMedia().size(), 4u) << "one level, hidden files included";

    const MediaRecord tagged = stored(QStringLiteral("tagged.mp3"));
    EXPECT_EQ(tagged.fTitle, QStringLiteral("Tagged Title"));
    EXPECT_TRUE(tagged.fArtist.isEmpty()) << "ID3v2 wins even with an empty artist";
    EXPECT_EQ(tagged.fYear, QStringLiteral("2004"));
    EXPECT_EQ(tagged.fQuality, 128);
    EXPECT_EQ(tagged.fSeconds, 10);
    EXPECT_EQ(tagged.fFileSize, QFile(music.file(QStringLiteral("tagged.mp3"))).size());

    const MediaRecord plain = stored(QStringLiteral("Plain Name.mp3"));
    EXPECT_EQ(plain.fTitle, QStringLiteral("Plain Name"));
    EXPECT_EQ(plain.fSeconds, 5);

    const MediaRecord text = stored(QStringLiteral("notes.txt"));
    EXPECT_EQ(text.fTitle, QStringLiteral("notes"));
    EXPECT_EQ(text.fSeconds, 0);
    EXPECT_EQ(text.fQuality, 0);
}

TEST_F(ScanTest, RescanKeepsKnownRecordsAndForgetsRemovedFiles)
{
    music.write(QStringLiteral("a.mp3"), mp3::id3v1("Old", "", "", "", 0).prepend(mp3::stream({}, 80000)));
    music.write(QStringLiteral("b.mp3"), mp3::stream({}, 80000));
    MediaRecord other;
    other.fDirectory = QStringLiteral("/elsewhere");
    other.fFileName = QStringLiteral("a.mp3");
    other.fTitle = QStringLiteral("Elsewhere");
    db.AddMedia(other);
    MediaLibrary(db).ScanFolder(music.path());

    // A changed tag is not read again; a removed file loses its record; other folders stay.
    music.write(QStringLiteral("a.mp3"), mp3::id3v1("New", "", "", "", 0).prepend(mp3::stream({}, 80000)));
    QFile::remove(music.file(QStringLiteral("b.mp3")));
    MediaLibrary(db).ScanFolder(music.path());
    EXPECT_EQ(stored(QStringLiteral("a.mp3")).fTitle, QStringLiteral("Old"));
    EXPECT_TRUE(db.FindMedia(music.path(), QStringLiteral("b.mp3")).empty());
    EXPECT_EQ(db.FindMedia(QStringLiteral("/elsewhere"), QStringLiteral("a.mp3")).size(), 1u);
}

TEST_F(ScanTest, MissingFolderForgetsItsRecords)
{
    music.write(QStringLiteral("a.mp3"), mp3::stream({}, 80000));
    MediaLibrary(db).ScanFolder(music.path());
    QFile::remove(music.file(QStringLiteral("a.mp3")));
    MediaLibrary(db).ScanFolder(music.file(QStringLiteral("gone")));
    MediaLibrary(db).ScanFolder(music.path());
    EXPECT_TRUE(db.SelectAllMedia().empty());
}

} // namespace
