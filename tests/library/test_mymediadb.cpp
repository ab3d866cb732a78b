#include "library/mymediadb.h"
#include "support/testfolder.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

MediaRecord record(const QString& folder, const QString& name, const QString& title = {})
{
    MediaRecord r;
    r.fDirectory = folder;
    r.fFileName = name;
    r.fFileSize = 1234;
    r.fTitle = title.isEmpty() ? name : title;
    r.fQuality = 128;
    r.fSeconds = 200;
    return r;
}

struct MediaDBTest : ::testing::Test {
    TestFolder folder;
    QString path = folder.file(QStringLiteral("MyMedia.edb"));
    TMyMediaDB db;

    void SetUp() override { db.OpenDatabase(path); }
};

TEST_F(MediaDBTest, CreatedWhenMissingAndKeptWhenPresent)
{
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_TRUE(db.SelectAllMedia().empty());
    ASSERT_TRUE(db.AddMedia(record("/music", "a.mp3")));
    TMyMediaDB again;
    again.OpenDatabase(path);
    EXPECT_EQ(again.SelectAllMedia().size(), 1u);
}

TEST_F(MediaDBTest, OneRecordPerFileWhateverTheLetterCase)
{
    EXPECT_TRUE(db.AddMedia(record("/Music", "Song.MP3")));
    EXPECT_FALSE(db.AddMedia(record("/music", "song.mp3", "Other")));
    EXPECT_EQ(db.FindMedia("/MUSIC", "SONG.mp3").size(), 1u);
    EXPECT_TRUE(db.FindMedia("/Music/", "Song.MP3").empty()) << "a trailing separator differs";
    // Only A to Z fold: other letters must match as they are.
    EXPECT_TRUE(db.AddMedia(record("/music", "Ärger.mp3")));
    EXPECT_TRUE(db.AddMedia(record("/music", "ärger.mp3")));
    EXPECT_EQ(db.SelectAllMedia().size(), 3u);
}

TEST_F(MediaDBTest, WidthsAreCutOnAppendAndUpdate)
{
    MediaRecord r = record("/music", "long.mp3", QString(300, QLatin1Char('t')));
    r.fYear = QStringLiteral("1999-12-31");
    r.fArtist = QString(200, QChar(0x00E9));
    ASSERT_TRUE(db.AddMedia(r));
    MediaRecord stored = db.FindMedia("/music", "long.mp3").front();
    EXPECT_EQ(stored.fTitle.size(), 256);
    EXPECT_EQ(stored.fYear, QStringLiteral("1999"));
    EXPECT_EQ(stored.fArtist, QString(128, QChar(0x00E9))) << "cut in characters, not bytes";

    db.UpdateMediaDetails("/music", "long.mp3", "T", QString(130, QLatin1Char('a')), "Al", "G",
                          "20001");
    stored = db.FindMedia("/music", "long.mp3").front();
    EXPECT_EQ(stored.fArtist.size(), 128);
    EXPECT_EQ(stored.fYear, QStringLiteral("2000"));
}

TEST_F(MediaDBTest, ChangesToMissingRecordsChangeNothing)
{
    ASSERT_TRUE(db.AddMedia(record("/music", "a.mp3")));
    db.DeleteMedia("/music", "b.mp3");
    db.UpdateMediaField("/music", "b.mp3", "fFileName", "c.mp3");
    db.UpdateMediaDetails("/other", "a.mp3", "x", "x", "x", "x", "x");
    const auto all = db.SelectAllMedia();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all.front().fTitle, QStringLiteral("a.mp3"));
    EXPECT_THROW(db.UpdateMediaField("/music", "a.mp3", "fTitle = 'x'; --", "y"), MediaDBError);
}

TEST_F(MediaDBTest, QuotesAndBackslashesAreStoredAsTyped)
{
    const QString odd = QStringLiteral("It's \"quoted\" \\ -- ; DROP TABLE tMedia");
    ASSERT_TRUE(db.AddMedia(record("/mu\"sic's", "it's \"a\".mp3", odd)));
    db.UpdateMediaDetails("/mu\"sic's", "IT'S \"A\".MP3", odd, odd, odd, odd, "19\"9");
    db.UpdateMediaField("/mu\"sic's", "it's \"a\".mp3", "fFileName", "b\"'.mp3");
    const auto found = db.FindMedia("/mu\"sic's", "B\"'.MP3");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found.front().fTitle, odd);
    EXPECT_EQ(found.front().fArtist, odd);
    EXPECT_EQ(found.front().fYear, QStringLiteral("19\"9"));
}

TEST_F(MediaDBTest, OrderedSelectionsAndDistinctValues)
{
    for (const char* t : {"b", "a", "c"}) {
        MediaRecord r = record("/m", QString::fromLatin1(t) + ".mp3", QString::fromLatin1(t));
        r.fArtist = t[0] == 'c' ? QStringLiteral("Zed") : QStringLiteral("Abba");
        r.fGenre = t[0] == 'a' ? QString() : QStringLiteral("Pop");
        db.AddMedia(r);
    }
    QStringList titles;
    for (const auto& r : db.SelectAllMedia())
        titles << r.fTitle;
    EXPECT_EQ(titles, (QStringList{"a", "b", "c"}));
    EXPECT_EQ(db.SelectArtists(), (QStringList{"Abba", "Zed"}));
    EXPECT_EQ(db.SelectGenres(), (QStringList{"", "Pop"}));
}

TEST(MediaDB, DamagedFileIsKeptAsideAndReplaced)
{
    TestFolder folder;
    const QString path = folder.write(QStringLiteral("MyMedia.edb"),
                                      QByteArray("this is not a database").repeated(200));
    TMyMediaDB db;
    db.OpenDatabase(path);
    EXPECT_TRUE(db.SelectAllMedia().empty());
    EXPECT_TRUE(db.AddMedia(record("/m", "a.mp3")));
    QFile kept(path + QStringLiteral(".damaged"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_TRUE(kept.readAll().startsWith("this is not a database"));
}

TEST(MediaDB, EmptyFileGetsTheTable)
{
    TestFolder folder;
    const QString path = folder.write(QStringLiteral("MyMedia.edb"), {});
    TMyMediaDB db;
    db.OpenDatabase(path);
    EXPECT_TRUE(db.AddMedia(record("/m", "a.mp3")));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".damaged")));
}

TEST(MediaDB, MissingFolderFailsWithAnError)
{
    TestFolder folder;
    TMyMediaDB db;
    EXPECT_THROW(db.OpenDatabase(folder.file(QStringLiteral("no/Data/MyMedia.edb"))), MediaDBError);
    EXPECT_THROW(db.SelectAllMedia(), MediaDBError);
}

} // namespace
