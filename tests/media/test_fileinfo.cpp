#include "media/fileinfo.h"
#include "support/mp3builder.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

namespace {

using mp3::latin1Text;

TEST(ReadFileInfo, Id3v2WinsEvenWithEmptyTexts)
{
    TestFolder folder;
    const QString path = folder.write(
        QStringLiteral("a.mp3"),
        mp3::id3v2(3, {{"TIT2", latin1Text("V2 Title")}, {"TCON", latin1Text("(13)")}}) +
            mp3::stream({}, 160000) + mp3::id3v1("V1 Title", "V1 Artist", "V1 Album", "1990", 17));
    const FileInfo info = ReadFileInfo(path);
    EXPECT_EQ(info.Title, QStringLiteral("V2 Title"));
    EXPECT_TRUE(info.Artist.isEmpty());
    EXPECT_TRUE(info.Album.isEmpty());
    EXPECT_TRUE(info.Year.isEmpty());
    EXPECT_TRUE(info.Genre.isEmpty());
    EXPECT_EQ(info.BitRate, 128);
    EXPECT_EQ(info.Seconds, 10);
}

TEST(ReadFileInfo, Id3v1TextsWithGenreName)
{
    TestFolder folder;
    const QString path = folder.write(
        QStringLiteral("a.mp3"), mp3::stream({}, 160000) + mp3::id3v1("T", "A", "B", "1990", 17));
    const FileInfo info = ReadFileInfo(path);
    EXPECT_EQ(info.Title, QStringLiteral("T"));
    EXPECT_EQ(info.Artist, QStringLiteral("A"));
    EXPECT_EQ(info.Album, QStringLiteral("B"));
    EXPECT_EQ(info.Year, QStringLiteral("1990"));
    EXPECT_EQ(info.Genre, QStringLiteral("Rock"));
}

TEST(ReadFileInfo, SecondsRoundHalvesToEven)
{
    TestFolder folder;
    // At 128 kbit/s a second is 16,000 bytes.
    const std::pair<int, int> cases[] = {{40000, 2}, {56000, 4}, {41000, 3}};
    for (const auto& [bytes, seconds] : cases)
        EXPECT_EQ(ReadFileInfo(folder.write(QStringLiteral("a.mp3"), mp3::stream({}, bytes))).Seconds,
                  seconds)
            << bytes;
}

TEST(ReadFileInfo, NoValidStreamGivesNothing)
{
    TestFolder folder;
    const FileInfo text = ReadFileInfo(folder.write(QStringLiteral("notes.txt"), "just text"));
    EXPECT_EQ(text.Seconds, 0);
    EXPECT_EQ(text.BitRate, 0);
    const FileInfo tagged = ReadFileInfo(folder.write(
        QStringLiteral("b.mp3"), QByteArray(5000, '\0') + mp3::id3v1("T", "A", "B", "1990", 1)));
    EXPECT_TRUE(tagged.Title.isEmpty());
    EXPECT_EQ(tagged.BitRate, 0);
}

} // namespace
