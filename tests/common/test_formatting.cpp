#include "common/formatting.h"
#include "common/mediatypes.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

struct CLocale : ::testing::Test {
    void SetUp() override { QLocale::setDefault(QLocale::c()); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

using FormatSizeTest = CLocale;

TEST_F(FormatSizeTest, ThresholdsAndUnits)
{
    const std::pair<int32_t, const char*> cases[] = {
        {0, "0 bytes"},           {1023, "1023 bytes"},     {1024, "1.00 KB"},
        {1023999, "1000.00 KB"}, {1024000, "1.00 MB"},     {1048576, "1.02 MB"},
        {5242880, "5.12 MB"},     {2147483647, "2097.15 MB"}};
    for (const auto& [size, text] : cases)
        EXPECT_EQ(FormatSize(size), QString::fromLatin1(text)) << size;
}

TEST_F(FormatSizeTest, UsesTheLocaleDecimalSeparatorWithoutGrouping)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(FormatSize(1023999), QStringLiteral("1000,00 KB"));
}

TEST(FormatDuration, FieldsArePaddedAndHoursNotWrapped)
{
    const std::pair<int32_t, const char*> cases[] = {
        {0, "00:00:00"}, {59, "00:00:59"}, {3661, "01:01:01"},
        {86400, "24:00:00"}, {90061, "25:01:01"}, {360000, "100:00:00"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(FormatDuration(seconds), QString::fromLatin1(text)) << seconds;
}

TEST(FileTitle, DropsFolderAndLastExtension)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/music/Artist - Song.mp3", "Artist - Song"},
        {"C:\\Music\\Artist - Song.mp3", "Artist - Song"},
        {"song.tar.gz", "song.tar"},
        {"noextension", "noextension"},
        {".mp3", ""},
        {"C:\\Music\\song.", "song"},
        {"/a.b/c", "c"},
        {"", ""}};
    for (const auto& [path, title] : cases)
        EXPECT_EQ(FileTitle(QString::fromLatin1(path)), QString::fromLatin1(title)) << path;
}

TEST(MediaTypeOf, OnlyMp3IsAudioInAnyCase)
{
    EXPECT_EQ(MediaTypeOf(QStringLiteral("SONG.MP3")), QStringLiteral("Audio"));
    EXPECT_EQ(MediaTypeOf(QStringLiteral("/music/a.b/Song.Mp3")), QStringLiteral("Audio"));
    EXPECT_EQ(MediaTypeOf(QStringLiteral("song.wav")), QString());
    EXPECT_EQ(MediaTypeOf(QStringLiteral("song")), QString());
    EXPECT_EQ(MediaTypeOf(QStringLiteral("/music/mp3.d/song")), QString());
}

} // namespace
