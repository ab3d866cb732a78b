#include "platform/jpegimage.h"
#include "platform/systemicons.h"
#include "support/testfolder.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

TEST(Jpeg, DecodesTheSplashAndRefusesDamage)
{
    QFile splash(QStringLiteral(":/splash.jpg"));
    ASSERT_TRUE(splash.open(QIODevice::ReadOnly));
    const QByteArray bytes = splash.readAll();
    EXPECT_EQ(DecodeJpeg(bytes).size(), QSize(344, 302));
    EXPECT_TRUE(DecodeJpeg("not a picture").isNull());
    EXPECT_TRUE(DecodeJpeg(QByteArray()).isNull());
    EXPECT_TRUE(DecodeJpeg(bytes.left(20)).isNull());
    // A picture cut short still shows what arrived.
    EXPECT_FALSE(DecodeJpeg(bytes.left(bytes.size() * 2 / 3)).isNull());
}

TEST(SystemIcons, SameKindSameIndex)
{
    TestFolder folder;
    SystemIcons icons;
    const int mp3 = icons.SystemIconIndex(QStringLiteral("Artist - Song.mp3"));
    EXPECT_GE(mp3, 0);
    EXPECT_EQ(icons.SystemIconIndex(QStringLiteral("other.MP3")), mp3);
    EXPECT_FALSE(icons.icon(mp3).isNull());
    const int dir = icons.SystemIconIndex(folder.path());
    EXPECT_GE(dir, 0);
    EXPECT_NE(dir, mp3);
    EXPECT_TRUE(icons.icon(-1).isNull());
    EXPECT_TRUE(icons.icon(1000).isNull());
}

} // namespace
