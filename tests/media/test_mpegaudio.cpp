#include "media/mpegaudio.h"
#include "support/mp3builder.h"
#include "support/testfolder.h"

#include <gtest/gtest.h>

namespace {

struct MpegTest : ::testing::Test {
    TestFolder folder;
    TMPEGaudio audio;

    bool analyse(const QByteArray& bytes)
    {
        return audio.AnalyseFile(folder.write(QStringLiteral("a.mp3"), bytes));
    }
};

TEST_F(MpegTest, ConstantBitRateStream)
{
    ASSERT_TRUE(analyse(mp3::stream({}, 5242880)));
    EXPECT_TRUE(audio.IsValid());
    EXPECT_EQ(audio.BitRate(), 128);
    EXPECT_DOUBLE_EQ(audio.Duration(), 327.68);
    EXPECT_EQ(audio.Frame.Offset, 0);
    EXPECT_EQ(audio.Frame.VersionBits, 3);
    EXPECT_EQ(audio.Frame.LayerBits, 1);
    EXPECT_EQ(audio.Frame.BitRateIndex, 9);
    EXPECT_FALSE(audio.VBR.Present);
    EXPECT_EQ(audio.FileSize, 5242880);
}

TEST_F(MpegTest, StreamBetweenTwoTags)
{
    const QByteArray tag = mp3::id3v2(3, {{"TIT2", mp3::latin1Text("Song")}}, 1000 - 10 - 15);
    ASSERT_EQ(tag.size(), 1000);
    ASSERT_TRUE(analyse(tag + mp3::stream({}, 5242880) + mp3::id3v1("t", "a", "b", "2001", 1)));
    EXPECT_TRUE(audio.IsValid());
    EXPECT_EQ(audio.V2Tag().TagSize, 1000);
    EXPECT_EQ(audio.Frame.Offset, 0);
    EXPECT_DOUBLE_EQ(audio.Duration(), 327.68);
    EXPECT_TRUE(audio.V1Tag().Present);
    EXPECT_EQ(audio.V2Tag().Title, QStringLiteral("Song"));
}

TEST_F(MpegTest, XingHeaderGivesRateRoundedToEvenAndFrameCountDuration)
{
    ASSERT_TRUE(analyse(mp3::vbrStream({}, "Xing", 10000, 4000000, 200000)));
    EXPECT_TRUE(audio.VBR.Present);
    EXPECT_EQ(QByteArray(audio.VBR.Kind, 4), QByteArray("Xing"));
    EXPECT_EQ(audio.VBR.FrameCount, 10000);
    EXPECT_EQ(audio.VBR.ByteCount, 4000000);
    EXPECT_EQ(audio.BitRate(), 122);
    EXPECT_NEAR(audio.Duration(), 261.22, 0.005);
    EXPECT_TRUE(audio.IsValid());
}

TEST_F(MpegTest, VbriHeaderIsLookedForOnlyAtTheModeDistance)
{
    mp3::Header stereo;
    ASSERT_TRUE(analyse(mp3::vbrStream(stereo, "VBRI", 500, 400000, 100000, 36)));
    EXPECT_TRUE(audio.VBR.Present);
    EXPECT_EQ(audio.VBR.FrameCount, 500);
    EXPECT_EQ(audio.VBR.ByteCount, 400000);

    mp3::Header mono;
    mono.mode = 3;
    ASSERT_TRUE(analyse(mp3::vbrStream(mono, "VBRI", 500, 400000, 100000, 36)));
    EXPECT_FALSE(audio.VBR.Present);
    ASSERT_TRUE(analyse(mp3::vbrStream(mono, "Xing", 500, 400000, 100000)));
    EXPECT_TRUE(audio.VBR.Present) << "mono MPEG 1 looks 21 bytes behind the frame";

    mp3::Header mpeg2;
    mpeg2.version = mp3::Mpeg2;
    mpeg2.bitRateIndex = 8;
    ASSERT_TRUE(analyse(mp3::vbrStream(mpeg2, "VBRI", 500, 400000, 100000, 36)));
    EXPECT_FALSE(audio.VBR.Present);
    mpeg2.mode = 3;
    ASSERT_TRUE(analyse(mp3::vbrStream(mpeg2, "Xing", 500, 100000, 100000)));
    EXPECT_TRUE(audio.VBR.Present) << "mono MPEG 2 looks 13 bytes behind the frame";
}

TEST_F(MpegTest, StreamsThatAreNotRecognised)
{
    QByteArray lone(20000, '\0');
    lone.replace(100, 4, QByteArray("\xFF\xFB\x90\x00", 4));
    ASSERT_TRUE(analyse(lone));
    EXPECT_FALSE(audio.Frame.Present);
    EXPECT_FALSE(audio.IsValid());
    EXPECT_EQ(audio.BitRate(), 0);
    EXPECT_EQ(audio.Duration(), 0);

    mp3::Header free;
    free.bitRateIndex = 0;
    QByteArray freeFormat;
    for (int i = 0; i < 100; ++i)
        freeFormat += mp3::headerBytes(free) + QByteArray(413, '\0');
    ASSERT_TRUE(analyse(freeFormat));
    EXPECT_FALSE(audio.IsValid());

    mp3::Header emphasis;
    emphasis.emphasis = 2;
    ASSERT_TRUE(analyse(mp3::stream(emphasis, 20000)));
    EXPECT_FALSE(audio.Frame.Present);
}

TEST_F(MpegTest, ValidityLimits)
{
    // 10 frames claiming 2,144,131 bytes: 65,664 kbit/s, which must not wrap round to 128.
    ASSERT_TRUE(analyse(mp3::vbrStream({}, "Xing", 10, 2144131, 100000)));
    EXPECT_EQ(audio.BitRate(), 65535);
    EXPECT_FALSE(audio.IsValid());

    ASSERT_TRUE(analyse(mp3::vbrStream({}, "Xing", 1000, 400000, 100000)));
    EXPECT_EQ(audio.BitRate(), 122);
    ASSERT_TRUE(analyse(mp3::vbrStream({}, "Xing", 1000, 20000, 100000)));
    EXPECT_EQ(audio.BitRate(), 6);
    EXPECT_FALSE(audio.IsValid());
    ASSERT_TRUE(analyse(mp3::vbrStream({}, "Xing", 1000, -5, 100000)));
    EXPECT_EQ(audio.BitRate(), 0);
    EXPECT_FALSE(audio.IsValid());

    // One frame of 1152 samples lasts 0.026 s.
    ASSERT_TRUE(analyse(mp3::vbrStream({}, "Xing", 1, 417, 100000)));
    EXPECT_LT(audio.Duration(), 0.1);
    EXPECT_FALSE(audio.IsValid());
    // A frame count of 0 falls back to the table rate and the file length.
    ASSERT_TRUE(analyse(mp3::vbrStream({}, "Xing", 0, 417, 160000)));
    EXPECT_EQ(audio.BitRate(), 128);
    EXPECT_DOUBLE_EQ(audio.Duration(), 10.0);
}

TEST_F(MpegTest, SmallFiles)
{
    EXPECT_FALSE(analyse(mp3::stream({}, 100)));
    EXPECT_FALSE(audio.IsValid());
    ASSERT_TRUE(analyse(mp3::stream({}, 3000)));
    EXPECT_TRUE(audio.IsValid());
    EXPECT_DOUBLE_EQ(audio.Duration(), 0.1875);
    EXPECT_FALSE(audio.AnalyseFile(folder.file(QStringLiteral("missing.mp3"))));
    EXPECT_FALSE(audio.AnalyseFile(folder.path()));
}

TEST_F(MpegTest, FrameFoundOnlyInTheSecondWindow)
{
    const QByteArray bytes = QByteArray(100000, '\0') + QByteArray(10, '\x55') +
                             mp3::stream({}, 99990);
    ASSERT_TRUE(analyse(bytes));
    EXPECT_TRUE(audio.Frame.Present);
    EXPECT_EQ(audio.Frame.Offset, 10);
    EXPECT_DOUBLE_EQ(audio.Duration(), (200000.0 - 10) / 128 / 1000 * 8);
}

TEST_F(MpegTest, ShortFirstWindowIsNotFollowedBySecond)
{
    // 3400 bytes without a frame: the first read is short, so the search ends there.
    ASSERT_TRUE(analyse(QByteArray(3400, '\0')));
    EXPECT_FALSE(audio.Frame.Present);
}

TEST_F(MpegTest, NoFrameClearsTheTags)
{
    const QByteArray bytes = mp3::id3v2(3, {{"TIT2", mp3::latin1Text("Song")}}) +
                             QByteArray(5000, '\0') + mp3::id3v1("t", "a", "b", "2001", 1);
    ASSERT_TRUE(analyse(bytes));
    EXPECT_FALSE(audio.V2Tag().Present);
    EXPECT_FALSE(audio.V1Tag().Present);
    EXPECT_TRUE(audio.V2Tag().Title.isEmpty());
}

TEST_F(MpegTest, OtherVersionsAndLayers)
{
    struct Case {
        mp3::Header header;
        int bitRate;
    };
    mp3::Header layer1;
    layer1.layer = mp3::Layer1;
    layer1.bitRateIndex = 14; // 448
    layer1.padding = true;
    mp3::Header layer2;
    layer2.layer = mp3::Layer2;
    layer2.bitRateIndex = 14; // 384
    mp3::Header mpeg25;
    mpeg25.version = mp3::Mpeg25;
    mpeg25.bitRateIndex = 8; // 64
    mpeg25.sampleRateIndex = 2;
    const Case cases[] = {{layer1, 448}, {layer2, 384}, {mpeg25, 64}};
    for (const Case& c : cases) {
        ASSERT_TRUE(analyse(mp3::stream(c.header, 50000)));
        EXPECT_TRUE(audio.IsValid());
        EXPECT_EQ(audio.BitRate(), c.bitRate);
        EXPECT_NEAR(audio.Duration(), 50000.0 * 8 / (c.bitRate * 1000), 1e-9);
    }
}

} // namespace
