#include "library/mpvplayer.h"
#include "support/mp3builder.h"
#include "support/testfolder.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

TEST(MpvPlayer, PlaysAFileToItsEndSilently)
{
    TestFolder folder;
    // One second of MPEG 1 Layer III frames.
    const QString path = folder.write(QStringLiteral("one.mp3"), mp3::stream({}, 16000));
    MpvPlayer player(QStringLiteral("null"));
    ASSERT_TRUE(player.available());
    QSignalSpy ended(&player, &AudioPlayer::ended);
    player.open(path);
    player.play();
    EXPECT_TRUE(ended.wait(15000));

    // A stop is not an end.
    player.open(path);
    player.stop();
    EXPECT_FALSE(ended.wait(1500));
    EXPECT_EQ(ended.count(), 1);
}

} // namespace
