#include "media/id3v1.h"
#include "support/mp3builder.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

namespace {

struct Id3v1Test : ::testing::Test {
    TestFolder folder;
    TID3v1 tag;

    bool load(const QByteArray& bytes)
    {
        return tag.LoadFromFile(folder.write(QStringLiteral("a.mp3"), bytes));
    }
};

TEST_F(Id3v1Test, ExactTagFileAndTooShortFile)
{
    ASSERT_TRUE(load(mp3::id3v1("Title", "Artist", "Album", "1999", 17)));
    EXPECT_TRUE(tag.Present);
    EXPECT_EQ(tag.Title, QStringLiteral("Title"));
    EXPECT_EQ(tag.Artist, QStringLiteral("Artist"));
    EXPECT_EQ(tag.Album, QStringLiteral("Album"));
    EXPECT_EQ(tag.Year, QStringLiteral("1999"));
    EXPECT_EQ(tag.GenreName(), QStringLiteral("Rock"));

    EXPECT_FALSE(load(mp3::id3v1("Title", "", "", "", 0).left(127)));
    EXPECT_FALSE(tag.Present);
    EXPECT_EQ(tag.GenreIndex, 255);
}

TEST_F(Id3v1Test, TrailingPaddingGoesLeadingBlankAndInnerBytesStay)
{
    const QByteArray zeros = mp3::id3v1("Song", "", "", "", 0);
    ASSERT_TRUE(load(zeros));
    EXPECT_EQ(tag.Title, QStringLiteral("Song"));

    QByteArray blanks = zeros;
    blanks.replace(3, 30, QByteArray("Song").leftJustified(30, ' '));
    blanks.replace(33, 30, QByteArray(" Lead").leftJustified(30, ' '));
    blanks.replace(63, 30, QByteArray("A\0B\x01\x1F", 5).leftJustified(30, '\0'));
    blanks.replace(93, 4, QByteArray("\xE9t\xE9 "));
    ASSERT_TRUE(load(blanks));
    EXPECT_EQ(tag.Title, QStringLiteral("Song"));
    EXPECT_EQ(tag.Artist, QStringLiteral(" Lead"));
    EXPECT_EQ(tag.Album, QString::fromLatin1("A\0B", 3));
    EXPECT_EQ(tag.Year, QString::fromUtf8("été"));
}

TEST_F(Id3v1Test, GenreNames)
{
    const std::pair<int, const char*> cases[] = {
        {0, "Blues"}, {12, "Other"}, {92, "Progessive Rock"}, {147, "Synthpop"},
        {148, ""},    {255, ""}};
    for (const auto& [index, name] : cases) {
        ASSERT_TRUE(load(mp3::id3v1("t", "", "", "", uint8_t(index))));
        EXPECT_EQ(tag.GenreName(), QString::fromLatin1(name)) << index;
    }
}

TEST_F(Id3v1Test, LowerCaseMarkerIsNoTag)
{
    QByteArray bytes = QByteArray(500, 'x') + mp3::id3v1("Song", "", "", "", 1);
    bytes.replace(500, 3, "tag");
    ASSERT_TRUE(load(bytes));
    EXPECT_FALSE(tag.Present);
    EXPECT_TRUE(tag.Title.isEmpty());
}

} // namespace
