#include "media/id3v2.h"
#include "support/mp3builder.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

namespace {

using mp3::Frame;
using mp3::latin1Text;

struct Id3v2Test : ::testing::Test {
    TestFolder folder;
    TID3v2 tag;

    bool load(const QByteArray& bytes)
    {
        return tag.LoadFromFile(folder.write(QStringLiteral("a.mp3"), bytes));
    }
    // A tag followed by some audio, so the tag never reaches past the file.
    bool loadTag(const QByteArray& tagBytes) { return load(tagBytes + QByteArray(4000, '\x11')); }
};

TEST_F(Id3v2Test, HeaderCases)
{
    EXPECT_FALSE(load("ID3\x03"));
    EXPECT_FALSE(tag.Present);

    ASSERT_TRUE(load(QByteArray(200, 'x')));
    EXPECT_FALSE(tag.Present);
    EXPECT_EQ(tag.TagSize, 0);

    QByteArray v5 = mp3::id3v2(3, {{"TIT2", latin1Text("Song")}});
    v5[3] = 5;
    ASSERT_TRUE(loadTag(v5));
    EXPECT_TRUE(tag.Present);
    EXPECT_EQ(tag.Version, 5);
    EXPECT_EQ(tag.TagSize, v5.size());
    EXPECT_TRUE(tag.Title.isEmpty());

    const QByteArray footer = mp3::id3v2(4, {{"TIT2", latin1Text("Song")}}, 0, 0x10);
    ASSERT_TRUE(loadTag(footer));
    EXPECT_EQ(tag.TagSize, 15 + 20);
    EXPECT_EQ(tag.Title, QStringLiteral("Song"));

    // A tag claiming more bytes than the file holds counts as size 0 and gives no texts.
    const QByteArray huge = mp3::id3v2(3, {{"TIT2", latin1Text("Song")}}, 100000);
    ASSERT_TRUE(load(huge.left(2000)));
    EXPECT_TRUE(tag.Present);
    EXPECT_EQ(tag.TagSize, 0);
    EXPECT_TRUE(tag.Title.isEmpty());
}

TEST_F(Id3v2Test, TextsFallBacksAndVersions)
{
    ASSERT_TRUE(loadTag(mp3::id3v2(3, {{"TIT2", latin1Text("")},
                                       {"TIT1", latin1Text("Group")},
                                       {"TPE1", latin1Text("  Artist \t")},
                                       {"TOAL", latin1Text("Original Album")},
                                       {"TYER", latin1Text("1999")},
                                       {"TCON", latin1Text("(17)Rock")}})));
    EXPECT_EQ(tag.Title, QStringLiteral("Group"));
    EXPECT_EQ(tag.Artist, QStringLiteral("Artist"));
    EXPECT_EQ(tag.Album, QStringLiteral("Original Album"));
    EXPECT_EQ(tag.Year, QStringLiteral("1999"));
    EXPECT_EQ(tag.Genre, QStringLiteral("Rock"));

    ASSERT_TRUE(loadTag(mp3::id3v2(2, {{"TT2", latin1Text("Old Song")},
                                       {"TOA", latin1Text("Old Artist")},
                                       {"TOR", latin1Text("19871231")}})));
    EXPECT_EQ(tag.Title, QStringLiteral("Old Song"));
    EXPECT_EQ(tag.Artist, QStringLiteral("Old Artist"));
    EXPECT_EQ(tag.Year, QStringLiteral("1987"));

    ASSERT_TRUE(loadTag(mp3::id3v2(4, {{"TDRC", latin1Text("2004-05-06")}})));
    EXPECT_EQ(tag.Year, QStringLiteral("2004"));

    // The 2.2 names mean nothing in a 2.3 tag.
    ASSERT_TRUE(loadTag(mp3::id3v2(3, {{"TT2\0", latin1Text("x")}})));
    EXPECT_TRUE(tag.Title.isEmpty());
}

TEST_F(Id3v2Test, GenreForms)
{
    const std::pair<const char*, const char*> cases[] = {
        {"(17)", ""}, {"(17)Rock", "Rock"}, {"Pop", "Pop"}, {"(1)(2)Folk", "Folk"}};
    for (const auto& [stored, genre] : cases) {
        ASSERT_TRUE(loadTag(mp3::id3v2(3, {{"TCON", latin1Text(stored)}})));
        EXPECT_EQ(tag.Genre, QString::fromLatin1(genre)) << stored;
    }
}

TEST_F(Id3v2Test, EncodingsUtf16BothOrdersAndOthersIgnored)
{
    const QString name = QString::fromUtf8("Björk 東京 \U0001F3B5");
    ASSERT_TRUE(loadTag(mp3::id3v2(3, {{"TPE1", mp3::utf16Text(name, false)},
                                       {"TIT2", mp3::utf16Text(name, true)},
                                       {"TALB", latin1Text("Caf\xE9")}})));
    EXPECT_EQ(tag.Artist, name);
    EXPECT_EQ(tag.Title, name);
    EXPECT_EQ(tag.Album, QString::fromUtf8("Café"));

    // A character whose low byte is 0xFF is text, not a byte-order mark.
    const QString y = QString::fromUtf8("ÿ\u01FF");
    ASSERT_TRUE(loadTag(mp3::id3v2(3, {{"TIT2", mp3::utf16Text(y, false)}})));
    EXPECT_EQ(tag.Title, y);

    QByteArray utf8("\x03");
    utf8.append("Artist in UTF-8");
    ASSERT_TRUE(loadTag(mp3::id3v2(3, {{"TPE1", utf8}, {"TOPE", latin1Text("Original")}})));
    EXPECT_EQ(tag.Artist, QStringLiteral("Original"));
    ASSERT_TRUE(loadTag(mp3::id3v2(3, {{"TPE1", utf8}})));
    EXPECT_TRUE(tag.Artist.isEmpty());
}

TEST_F(Id3v2Test, LongFramesKeepFiveHundredBytesAndTheWalkGoesOn)
{
    ASSERT_TRUE(loadTag(mp3::id3v2(3, {{"TIT2", latin1Text(QByteArray(1999, 'x'))},
                                       {"TPE1", latin1Text("Next")}})));
    EXPECT_EQ(tag.Title, QString(499, QLatin1Char('x')));
    EXPECT_EQ(tag.Artist, QStringLiteral("Next"));
}

TEST_F(Id3v2Test, Version4SizesAreSynchsafeWithPlainSizesAccepted)
{
    const QByteArray picture = QByteArray("\0image/jpeg\0\x03\0", 15) + QByteArray(585, '\x7F');
    ASSERT_TRUE(loadTag(mp3::id3v2(4, {{"APIC", picture}, {"TIT2", latin1Text("After Picture")}},
                                   50)));
    EXPECT_EQ(tag.Title, QStringLiteral("After Picture"));

    Frame plain{"APIC", picture};
    plain.plainSizeInV4 = true;
    ASSERT_TRUE(loadTag(mp3::id3v2(4, {plain, {"TIT2", latin1Text("After Plain")}}, 50)));
    EXPECT_EQ(tag.Title, QStringLiteral("After Plain"));

    // 2.3 sizes stay plain numbers.
    ASSERT_TRUE(loadTag(mp3::id3v2(3, {{"APIC", picture}, {"TIT2", latin1Text("In 2.3")}})));
    EXPECT_EQ(tag.Title, QStringLiteral("In 2.3"));
}

TEST_F(Id3v2Test, CompressedFramesSkippedAndLaterFramesWin)
{
    Frame compressed{"TIT2", latin1Text("Packed")};
    compressed.flags2 = 0x80;
    ASSERT_TRUE(loadTag(mp3::id3v2(3, {compressed, {"TPE1", latin1Text("First")},
                                       {"TPE1", latin1Text("Second")}})));
    EXPECT_TRUE(tag.Title.isEmpty());
    EXPECT_EQ(tag.Artist, QStringLiteral("Second"));
}

TEST_F(Id3v2Test, HostileSizesEndTheWalkInsideTheTag)
{
    // A frame claiming almost 4 GiB: the walk must end, not wrap round to the start.
    QByteArray bytes = mp3::id3v2(3, {{"TIT2", latin1Text("Kept")}, {"TPE1", latin1Text("x")}},
                                  100);
    const int sizeAt = 10 + 15 + 4;
    bytes.replace(sizeAt, 4, QByteArray("\xFF\xFF\xFF\xF0", 4));
    ASSERT_TRUE(loadTag(bytes));
    EXPECT_EQ(tag.Title, QStringLiteral("Kept"));
    EXPECT_EQ(tag.Artist, QStringLiteral("x"));

    // A frame reaching past the tag's end keeps only what lies inside the tag.
    QByteArray spill = mp3::id3v2(3, {{"TIT2", latin1Text("Spill")}});
    spill.replace(10 + 4, 4, QByteArray("\0\0\x01\0", 4));
    ASSERT_TRUE(load(spill + QByteArray(400, 'Z')));
    EXPECT_EQ(tag.Title, QStringLiteral("Spill"));
}

} // namespace
