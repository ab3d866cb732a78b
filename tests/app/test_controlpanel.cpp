#include "common/fileutils.h"
#include "library/framedia.h"
#include "search/frasearch.h"
#include "settings/frmoptions.h"
#include "support/mainwindowfixture.h"
#include "web/liveupdate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

namespace {

struct ControlPanelTest : MainWindowFixture {
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        appFolder.write(QStringLiteral("Data/keywords.dat"), "saved words\r\n");
        appFolder.write(QStringLiteral("Data/artists.dat"), "Saved Artist\r\n");
    }

    // Runs the Control Panel; script acts on the dialog while it is shown.
    void controlPanel(const std::function<void(TfrmOptions&)>& script)
    {
        dialogs.modalScripts.push_back(
            [script](QDialog& dialog) { script(static_cast<TfrmOptions&>(dialog)); });
        window->ShowControlPanel();
    }

    TOptions stored()
    {
        TOptions options(appFolder.path());
        options.Load(ProductKey);
        return options;
    }
};

TEST_F(ControlPanelTest, CancelChangesNothingButReloadsTheHistories)
{
    window->fraSearch1->AddToHistory(window->fraSearch1->cmbKeywords, QStringLiteral("unsaved"));
    controlPanel([](TfrmOptions& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Control Panel"));
        dialog.chkAutoConnect->setChecked(true);
        dialog.cmdCancel->click();
    });
    EXPECT_FALSE(options->AutoConnect);
    EXPECT_FALSE(QSettings(settingsFolder.file(QStringLiteral("TavrinTest/TavrinTest.ini")),
                           QSettings::IniFormat).contains(QStringLiteral("Options/AutoConnect")));
    EXPECT_EQ(window->fraSearch1->cmbKeywords->count(), 1);
    EXPECT_EQ(window->fraSearch1->cmbKeywords->itemText(0), QStringLiteral("saved words"));
}

TEST_F(ControlPanelTest, ClearLastSearchesActsAtOnceEvenOnCancel)
{
    controlPanel([](TfrmOptions& dialog) {
        dialog.cmdClearSearchHistory->click();
        dialog.cmdCancel->click();
    });
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("keywords.dat"))));
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("artists.dat"))));
    EXPECT_EQ(window->fraSearch1->cmbKeywords->count(), 0);
}

TEST_F(ControlPanelTest, OkWithoutHistoryDeletesTheFilesAndSavesEverything)
{
    startEngine();
    controlPanel([](TfrmOptions& dialog) {
        EXPECT_TRUE(dialog.chkUseSearchHistory->isChecked());
        dialog.chkUseSearchHistory->setChecked(false);
        dialog.cmdOK->click();
    });
    EXPECT_FALSE(QFile::exists(data(QStringLiteral("keywords.dat"))));
    EXPECT_FALSE(stored().UseSearchHistory);
    EXPECT_EQ(engine.callsStartingWith(QStringLiteral("Prefs#")).size(), 4) << "preferences pushed";

    engine.calls.clear();
    controlPanel([](TfrmOptions& dialog) { dialog.cmdOK->click(); });
    EXPECT_EQ(engine.callsStartingWith(QStringLiteral("Prefs#")),
              (QStringList{"Prefs#33=\"" + appFolder.path() + "/My Music\"",
                           "Prefs#62=\"" + appFolder.path() + "/Partials\"", "Prefs#45=30",
                           "Prefs#49=1024"}));
}

TEST_F(ControlPanelTest, ArrowsRangesStepsAndStoredValuesOutsideThem)
{
    options->MaxDownloads = 100;
    options->MaxKbpsDownloads = 1000;
    controlPanel([](TfrmOptions& dialog) {
        EXPECT_EQ(dialog.updMaxDownloads->minimum(), 1);
        EXPECT_EQ(dialog.updMaxDownloads->maximum(), 30);
        EXPECT_EQ(dialog.updMaxDownloads->value(), 30) << "100 shows as the top of the range";
        EXPECT_EQ(dialog.updDownloadsKb->singleStep(), 32);
        EXPECT_EQ(dialog.updDownloadsKb->minimum(), 32);
        EXPECT_EQ(dialog.updDownloadsKb->maximum(), 10240);
        EXPECT_EQ(dialog.updDownloadsKb->value(), 992) << "1000 shows as the nearest step";
        dialog.updDownloadsKb->stepUp();
        dialog.updMaxDownloads->stepDown();
        EXPECT_TRUE(dialog.updDownloadsKb->findChild<QLineEdit*>()->isReadOnly());
        dialog.cmdOK->click();
    });
    EXPECT_EQ(options->MaxKbpsDownloads, 1024);
    EXPECT_EQ(options->MaxDownloads, 29);
    EXPECT_EQ(stored().MaxKbpsDownloads, 1024);
}

TEST_F(ControlPanelTest, NewDownloadsFolderIsCreatedAfterAskingAndScanned)
{
    const QString folder = appFolder.file(QStringLiteral("New Music"));
    dialogs.textReplies << folder;
    dialogs.confirmReplies = {true};
    controlPanel([](TfrmOptions& dialog) {
        dialog.cmdBrowseDirectory->click();
        dialog.cmdOK->click();
    });
    EXPECT_TRUE(QDir(folder).exists());
    EXPECT_EQ(options->DownloadsPath, folder);
    EXPECT_EQ(window->fraMedia1->MusicFolder(), folder);
}

TEST_F(ControlPanelTest, WebDataIsStoredAndOnlyTheWebCacheSavesTheOptions)
{
    options->UpdateCaches = false;
    window->RequestWebData();
    EXPECT_FALSE(window->LiveUpdate->running(QStringLiteral("defaultcache")));
    options->UpdateCaches = true;
    window->RequestWebData();
    EXPECT_TRUE(window->LiveUpdate->running(QStringLiteral("defaultcache")));
    EXPECT_TRUE(window->LiveUpdate->running(QStringLiteral("defaultwebcache")));

    const QString ini = settingsFolder.file(QStringLiteral("TavrinTest/TavrinTest.ini"));
    window->WebDataArrived(QStringLiteral("defaultcache"), "10.0.0.1:6346\r\n");
    EXPECT_EQ(TFileUtils::LoadFileText(data(QStringLiteral("defaultcache.net"))), QByteArray("10.0.0.1:6346\r\n"));
    EXPECT_FALSE(QSettings(ini, QSettings::IniFormat).contains(QStringLiteral("Options/UpdateCaches")));
    window->WebDataArrived(QStringLiteral("defaultcache"), QByteArray());
    EXPECT_EQ(TFileUtils::LoadFileText(data(QStringLiteral("defaultcache.net"))), QByteArray("10.0.0.1:6346\r\n"))
        << "an empty list leaves the previous file";
    window->WebDataArrived(QStringLiteral("defaultwebcache"), "http://cache.example.org/\r\n");
    EXPECT_TRUE(QSettings(ini, QSettings::IniFormat).contains(QStringLiteral("Options/UpdateCaches")));
}

TEST_F(ControlPanelTest, ListArrivingAfterTheEngineStartIsMergedAtTheNextStart)
{
    startEngine();
    window->WebDataArrived(QStringLiteral("defaultcache"), "10.9.9.9:6346\r\n");
    EXPECT_FALSE(TFileUtils::LoadFileText(data(QStringLiteral("cache.net"))).contains("10.9.9.9"));
    window.reset();
    window = std::make_unique<TfrmMain>(appFolder.path(), *options, ProductKey, engine.factory(),
                                        std::make_unique<RecorderPlayer>());
    window->tmrInitGnucDNATimer();
    EXPECT_TRUE(TFileUtils::LoadFileText(data(QStringLiteral("cache.net"))).contains("10.9.9.9"));
}

} // namespace
