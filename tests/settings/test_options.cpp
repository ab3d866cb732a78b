#include "settings/options.h"
#include "support/testfolder.h"

#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

const QString kKey = QStringLiteral("Software\\TavrinTest");

// Points the per-user settings at a fresh folder for each test.
struct OptionsTest : ::testing::Test {
    TestFolder folder;
    QString iniPath;

    void SetUp() override
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
        iniPath = folder.file(QStringLiteral("TavrinTest/TavrinTest.ini"));
    }

    void store(const QString& name, const QVariant& value)
    {
        QSettings settings(iniPath, QSettings::IniFormat);
        settings.setValue(QStringLiteral("Options/") + name, value);
    }

    QVariant stored(const QString& name)
    {
        QSettings settings(iniPath, QSettings::IniFormat);
        return settings.value(QStringLiteral("Options/") + name);
    }
};

TEST_F(OptionsTest, MissingStoreGivesDefaultsAndIsCreatedEmpty)
{
    TOptions options(QStringLiteral("/opt/tavrin"));
    options.Load(kKey);
    EXPECT_EQ(options.MaxDownloads, 30);
    EXPECT_EQ(options.MaxKbpsDownloads, 1024);
    EXPECT_EQ(options.DownloadsPath, QStringLiteral("/opt/tavrin/My Music"));
    EXPECT_EQ(options.PartialsPath, QStringLiteral("/opt/tavrin/Partials"));
    EXPECT_FALSE(options.ClearCompleted);
    EXPECT_TRUE(options.UpdateCaches);
    EXPECT_TRUE(options.ShowLegalNotice);
    EXPECT_TRUE(options.UseSearchHistory);
    EXPECT_TRUE(options.AutoConnect);
    ASSERT_TRUE(QFile::exists(iniPath));
    EXPECT_TRUE(QSettings(iniPath, QSettings::IniFormat).allKeys().isEmpty());
}

TEST_F(OptionsTest, StoredValuesAreUsedUnchecked)
{
    store(QStringLiteral("DownloadsPath"), QString());
    store(QStringLiteral("MaxDownloads"), 1000);
    store(QStringLiteral("MaxKbpsDownloads"), 0);
    store(QStringLiteral("AutoConnect"), 0);
    store(QStringLiteral("ClearCompleted"), 2);
    TOptions options(QStringLiteral("/opt/tavrin"));
    options.Load(kKey);
    EXPECT_EQ(options.DownloadsPath, QString());
    EXPECT_EQ(options.MaxDownloads, 1000);
    EXPECT_EQ(options.MaxKbpsDownloads, 0);
    EXPECT_FALSE(options.AutoConnect);
    EXPECT_TRUE(options.ClearCompleted);
}

TEST_F(OptionsTest, AnyNonZeroNumberIsTrueAndSavesAsOne)
{
    store(QStringLiteral("ShowLegalNotice"), 2);
    TOptions options(QStringLiteral("/opt/tavrin"));
    options.Load(kKey);
    EXPECT_TRUE(options.ShowLegalNotice);
    options.Save(kKey);
    EXPECT_EQ(stored(QStringLiteral("ShowLegalNotice")).toString(), QStringLiteral("1"));
}

TEST_F(OptionsTest, ValueOfTheWrongKindFallsBackToItsDefault)
{
    store(QStringLiteral("MaxDownloads"), QStringLiteral("many"));
    store(QStringLiteral("MaxKbpsDownloads"), QStringLiteral("99999999999"));
    store(QStringLiteral("UpdateCaches"), QStringLiteral("yes please"));
    TOptions options(QStringLiteral("/opt/tavrin"));
    options.Load(kKey);
    EXPECT_EQ(options.MaxDownloads, 30);
    EXPECT_EQ(options.MaxKbpsDownloads, 1024);
    EXPECT_TRUE(options.UpdateCaches);
}

TEST_F(OptionsTest, SaveWritesAllNineValuesAndLoadsThemBack)
{
    TOptions options(QStringLiteral("/opt/tavrin"));
    options.Load(kKey);
    options.DownloadsPath = QStringLiteral("/home/u/Müsic \"quoted\"");
    options.MaxDownloads = -5;
    options.UseSearchHistory = false;
    options.Save(kKey);
    const char* names[] = {"UpdateCaches", "ShowLegalNotice", "UseSearchHistory",
                           "ClearCompleted", "AutoConnect", "DownloadsPath",
                           "PartialsPath", "MaxDownloads", "MaxKbpsDownloads"};
    for (const char* name : names)
        EXPECT_TRUE(stored(QString::fromLatin1(name)).isValid()) << name;

    TOptions again(QStringLiteral("/elsewhere"));
    again.Load(kKey);
    EXPECT_EQ(again.DownloadsPath, options.DownloadsPath);
    EXPECT_EQ(again.PartialsPath, QStringLiteral("/opt/tavrin/Partials"));
    EXPECT_EQ(again.MaxDownloads, -5);
    EXPECT_FALSE(again.UseSearchHistory);
}

TEST_F(OptionsTest, UnusableStoreLeavesEverythingEmpty)
{
    // A file where the settings folder should be: the store can be neither opened nor created.
    folder.write(QStringLiteral("TavrinTest"), "not a folder");
    TOptions options(QStringLiteral("/opt/tavrin"));
    options.Load(kKey);
    EXPECT_FALSE(options.AutoConnect);
    EXPECT_FALSE(options.UpdateCaches);
    EXPECT_TRUE(options.DownloadsPath.isEmpty());
    EXPECT_EQ(options.MaxDownloads, 0);
    EXPECT_EQ(options.MaxKbpsDownloads, 0);
    options.Save(kKey); // silently skipped
}

} // namespace
