#include "app/speedbutton.h"
#include "support/mainwindowfixture.h"

#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <gtest/gtest.h>

namespace {

struct MainWindowTest : MainWindowFixture {
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        window->show();
    }

    QStringList menuTexts(int index)
    {
        QStringList texts;
        const QAction* menu = window->menuBar()->actions().at(index);
        texts << menu->text();
        for (const QAction* item : menu->menu()->actions())
            texts << (item->isSeparator() ? QStringLiteral("-") : item->text());
        return texts;
    }
};

TEST_F(MainWindowTest, StartsWithTheDesignedControls)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tavrin"));
    EXPECT_EQ(window->minimumSize(), QSize(648, 465));
    EXPECT_EQ(window->StatusText(0), QStringLiteral(" Not Connected"));
    EXPECT_EQ(window->StatusText(1), QStringLiteral(" No Search in Progress"));
    EXPECT_EQ(window->StatusText(2), QStringLiteral(" Downloads: 0"));
    EXPECT_EQ(window->StatusText(3), QStringLiteral(" Music Files: 0"));
    EXPECT_EQ(menuTexts(0), (QStringList{"File", "Connect", "-", "Minimize To Tray", "-", "Exit"}));
    EXPECT_EQ(menuTexts(1), (QStringList{"View", "Music", "Search", "Downloads"}));
    EXPECT_EQ(menuTexts(2), (QStringList{"Extra", "Legal Notice...", "-", "Control Panel..."}));
    EXPECT_EQ(menuTexts(3),
              (QStringList{"Help", "Home...", "-", "Help...", "-", "About..."}));
    EXPECT_FALSE(window->mnuFileConnect->isEnabled());
    EXPECT_TRUE(window->mnuViewMedia->isChecked());
    EXPECT_EQ(window->mnuPopMainShow->text(), QStringLiteral("Show Tavrin"));
    EXPECT_EQ(window->mnuPopMainExit->text(), QStringLiteral("Exit Tavrin"));
    EXPECT_TRUE(window->spdViewMedia->isChecked());
    EXPECT_EQ(window->spdViewTransfers->text(), QStringLiteral("Downloads"));
    EXPECT_EQ(window->spdViewTransfers->toolTip(), QStringLiteral("Monitor your Downloads"));
    EXPECT_EQ(window->spdEditDetails->toolTip(), QStringLiteral("Edit MP3 Tag of Selected File"));
    EXPECT_EQ(window->spdMoreSources->Tag, 301);
}

TEST_F(MainWindowTest, SwitchingViewsShowsEachViewsButtonsAtTheSamePlace)
{
    TSpeedButton* music[] = {window->spdPlayFile,    window->spdRenameFile,
                             window->spdEditDetails, window->spdDeleteFile,
                             window->spdLocateMedia, window->spdRefreshMedia};
    for (TSpeedButton* b : music)
        EXPECT_TRUE(b->isVisible());
    EXPECT_FALSE(window->spdClearSearch->isVisible());

    window->mnuViewClick(1);
    for (TSpeedButton* b : music)
        EXPECT_FALSE(b->isVisible());
    EXPECT_TRUE(window->spdClearSearch->isVisible());
    EXPECT_TRUE(window->spdDownload->isVisible());
    EXPECT_FALSE(window->spdPreviewFile->isVisible());
    EXPECT_EQ(window->spdClearSearch->geometry(), window->spdPlayFile->geometry());
    EXPECT_EQ(window->spdDownload->geometry(), window->spdRenameFile->geometry());
    EXPECT_TRUE(window->mnuViewSearch->isChecked());
    EXPECT_FALSE(window->mnuViewMedia->isChecked());
    EXPECT_TRUE(window->spdViewSearch->isChecked());
    EXPECT_EQ(window->findChild<QStackedWidget*>()->currentWidget()->objectName(),
              QStringLiteral("fraSearch1"));

    window->spdViewButtonClick(window->spdViewTransfers);
    EXPECT_TRUE(window->spdClearCompleted->isVisible());
    EXPECT_EQ(window->spdClearCompleted->geometry().left(), 345 + 2 * 42);
    EXPECT_TRUE(window->mnuViewDownloads->isChecked());

    window->mnuViewClick(0);
    for (TSpeedButton* b : music)
        EXPECT_TRUE(b->isVisible());
    EXPECT_FALSE(window->spdClearCompleted->isVisible());
    EXPECT_TRUE(window->spdViewMedia->isVisible());
}

TEST_F(MainWindowTest, NothingClosesBeforeTheEngineStarts)
{
    QSignalSpy closed(window.get(), &TfrmMain::Closed);
    EXPECT_TRUE(window->tmrInitGnucDNA.isActive());
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());
    window->mnuFileExitClick();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->ExitRequested);
    EXPECT_EQ(closed.count(), 0);

    // The exit request stays: after the engine start even the close box ends the program.
    window->tmrInitGnucDNATimer();
    EXPECT_TRUE(window->EngineStarted);
    EXPECT_FALSE(window->tmrInitGnucDNA.isActive());
    window->close();
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(MainWindowTest, CloseBoxAfterEngineStartHidesToTheTray)
{
    QSignalSpy closed(window.get(), &TfrmMain::Closed);
    window->tmrInitGnucDNATimer();
    window->close();
    EXPECT_EQ(closed.count(), 0);
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        EXPECT_TRUE(window->isHidden());
        EXPECT_TRUE(window->TrayIcon->isVisible());
    } else {
        EXPECT_TRUE(window->isMinimized());
    }
    window->mnuPopMainShowClick();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isMinimized());

    window->mnuPopMainExitClick();
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(MainWindowTest, AboutBox)
{
    window->mnuHelpAboutClick();
    EXPECT_EQ(dialogs.shown, QStringList{QStringLiteral("information|About Tavrin|Version 3.31")});
}

} // namespace
