#include "app/applicationcontext.h"
#include "support/recordingdialogs.h"
#include "support/testfolder.h"

#include <QDir>
#include <QSettings>
#include <QSysInfo>
#include <gtest/gtest.h>

namespace {

struct StartupTest : ::testing::Test {
    TestFolder settingsFolder;
    TestFolder appFolder;
    TestFolder lockFolder;
    RecordingDialogs dialogs;
    QList<int> limits;

    void SetUp() override
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
    }

    ApplicationContext::ConnectionLimitSetter recorder()
    {
        return [this](int limit) { limits << limit; };
    }
};

TEST_F(StartupTest, RecreatesPictureAndLyricFoldersButNotData)
{
    ApplicationContext context(dialogs, recorder(), lockFolder.path());
    ASSERT_TRUE(context.StartApplication(appFolder.path()));
    EXPECT_TRUE(QDir(appFolder.file(QStringLiteral("Covers"))).exists());
    EXPECT_TRUE(QDir(appFolder.file(QStringLiteral("Lyrics"))).exists());
    EXPECT_FALSE(QDir(appFolder.file(QStringLiteral("Data"))).exists());
    ASSERT_TRUE(context.Options);
    EXPECT_EQ(context.Options->DownloadsPath, appFolder.path() + QStringLiteral("/My Music"));
    context.EndApplication();
    EXPECT_FALSE(context.Options);
    EXPECT_EQ(limits, (QList<int>{150, 10}));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(StartupTest, SecondInstanceIsTurnedAwayWithTheMessage)
{
    ApplicationContext first(dialogs, recorder(), lockFolder.path());
    ASSERT_TRUE(first.StartApplication(appFolder.path()));

    ApplicationContext second(dialogs, recorder(), lockFolder.path());
    EXPECT_FALSE(second.StartApplication(appFolder.path()));
    second.EndApplication();
    EXPECT_EQ(dialogs.shown,
              QStringList{QStringLiteral("information|Information|Tavrin is already running")});
    EXPECT_EQ(limits, (QList<int>{150, 150, 10}));
}

TEST_F(StartupTest, LockOfAVanishedProcessDoesNotBlock)
{
    // A lock file naming a process that no longer exists.
    lockFolder.write(QStringLiteral("Tavrin.lock"),
                     "999999999\ntavrin\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    ApplicationContext context(dialogs, recorder(), lockFolder.path());
    EXPECT_TRUE(context.StartApplication(appFolder.path()));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(StartupTest, UnusableLockFolderLetsTheProgramStart)
{
    ApplicationContext context(dialogs, recorder(), lockFolder.file(QStringLiteral("missing/dir")));
    EXPECT_TRUE(context.StartApplication(appFolder.path()));
}

} // namespace
