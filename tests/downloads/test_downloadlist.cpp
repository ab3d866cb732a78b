#include "downloads/fradownloads.h"
#include "library/framedia.h"
#include "support/mainwindowfixture.h"
#include "support/selectrows.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QItemSelectionModel>
#include <QTableView>

namespace {

struct DownloadListTest : MainWindowFixture {
    TfraDownloads* view = nullptr;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        startEngine();
        view = window->fraDownloads1;
    }
    void select(std::initializer_list<int> rows) { SelectRows(view->lvwDownloads, rows); }
    const DownloadRow& row(int i) { return view->downloads().at(i); }
    void addFour()
    {
        view->AddDownload(1, QStringLiteral("a.mp3"), 4000000, 0);
        view->AddDownload(2, QStringLiteral("b.mp3"), 4000000, 0);
        view->AddDownload(3, QStringLiteral("c.mp3"), 4000000, 0);
        view->AddDownload(4, QStringLiteral("d.mp3"), 4000000, 0);
        view->UpdateDownload(2, 10, 1, 1, 1, 1);
        select({2});
        view->PauseDownloads(true);
        view->DownloadComplete(4);
        engine.calls.clear();
    }
};

TEST_F(DownloadListTest, ProgressSpeedTimeAndHosts)
{
    QAbstractItemModelTester tester(&view->downloads(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    view->AddDownload(7, QStringLiteral("song.mp3"), 4000000, 1000000);
    EXPECT_EQ(row(0).progress, 25);
    EXPECT_EQ(row(0).status, QStringLiteral("Pending"));
    EXPECT_EQ(window->StatusText(2), QStringLiteral(" Downloads: 1"));
    view->AddDownload(8, QStringLiteral("unknown size.mp3"), 0, 500);
    EXPECT_EQ(row(1).progress, 0) << "no division by a size of 0";
    view->UpdateDownload(8, 900, 10, 10, 1, 1);
    EXPECT_EQ(row(1).progress, 0);

    view->UpdateDownload(7, 2000000, 90061, 2560, 7, 2);
    EXPECT_EQ(row(0).eta, QStringLiteral("25:01:01"));
    EXPECT_EQ(row(0).speed, QStringLiteral("2 kbps"));
    EXPECT_EQ(row(0).hosts, QStringLiteral("2 of 7"));
    EXPECT_EQ(row(0).progress, 50);
    EXPECT_EQ(row(0).status, QStringLiteral("Receiving"));
    const std::pair<int, const char*> speeds[] = {{1023, "1023 bps"}, {1024, "1 kbps"},
                                                   {2048, "2 kbps"}, {3584, "4 kbps"}, {0, "0 bps"}};
    for (const auto& [rate, text] : speeds)
        EXPECT_EQ(DownloadsModel::SpeedText(rate), QString::fromLatin1(text)) << rate;
    view->UpdateDownload(99, 1, 1, 1, 1, 1); // unknown: ignored
}

TEST_F(DownloadListTest, PausedRowTurnsReceivingAndSpeedSortsEmptyFirst)
{
    view->AddDownload(1, QStringLiteral("a.mp3"), 1000, 0);
    view->AddDownload(2, QStringLiteral("b.mp3"), 1000, 0);
    view->AddDownload(3, QStringLiteral("c.mp3"), 1000, 0);
    view->UpdateDownload(1, 10, 5, 1024, 1, 1); // 1 kbps
    view->UpdateDownload(2, 10, 5, 900, 1, 1);  // 900 bps
    select({0});
    view->PauseDownloads(true);
    EXPECT_EQ(row(0).status, QStringLiteral("Paused"));
    EXPECT_TRUE(row(0).speed.isEmpty());
    view->UpdateDownload(1, 20, 5, 1024, 1, 1);
    EXPECT_EQ(row(0).status, QStringLiteral("Receiving"));

    view->downloads().columnClicked(DownloadsModel::SpeedColumn);
    EXPECT_EQ(row(0).fileName, QStringLiteral("c.mp3"));
    EXPECT_EQ(row(1).fileName, QStringLiteral("b.mp3"));
    EXPECT_EQ(row(2).fileName, QStringLiteral("a.mp3"));
}

TEST_F(DownloadListTest, PauseAllResumeAndFindMoreHostsByState)
{
    addFour(); // Pending, Receiving, Paused, Complete
    view->PauseDownloads(false);
    EXPECT_EQ(engine.calls, (QStringList{"Download#18(1)", "Download#18(2)"}));
    EXPECT_EQ(row(2).status, QStringLiteral("Paused"));
    EXPECT_EQ(row(3).status, QStringLiteral("Complete"));

    engine.calls.clear();
    select({1, 3});
    view->ResumeDownloads(true);
    EXPECT_EQ(engine.calls, QStringList{QStringLiteral("Download#17(2)")});
    EXPECT_EQ(row(1).status, QStringLiteral("Pending"));
    view->UpdateDownload(2, 10, 1, 1, 1, 1);
    engine.calls.clear();
    view->ResumeDownloads(true);
    EXPECT_TRUE(engine.calls.isEmpty()) << "a receiving row is not resumed";
    select({0, 1});
    view->FindMoreHosts();
    EXPECT_EQ(engine.calls, QStringList{QStringLiteral("Download#21(2)")}) << "the paused row asks nothing";
}

TEST_F(DownloadListTest, CancelQuestionsAndClearing)
{
    addFour();
    select({1});
    dialogs.confirmReplies = {false};
    view->CancelDownloads(true);
    EXPECT_EQ(dialogs.shown.last(), QStringLiteral("confirm|Confirm Action|Do you really want to cancel\r\nb.mp3 ?"));
    EXPECT_TRUE(engine.calls.isEmpty());
    EXPECT_EQ(row(1).status, QStringLiteral("Receiving"));

    select({0, 1});
    dialogs.confirmReplies = {true};
    view->CancelDownloads(true);
    EXPECT_EQ(dialogs.shown.last(),
              QStringLiteral("confirm|Confirm Action|Do you really want to cancel the selected downloads ?"));
    EXPECT_EQ(engine.calls, (QStringList{"Download#18(1)", "Download#19(1)", "Download#18(2)", "Download#19(2)"}));
    EXPECT_TRUE(view->ListHasFocus);

    options->ClearCompleted = true;
    engine.calls.clear();
    dialogs.confirmReplies = {true};
    view->CancelDownloads(false);
    EXPECT_EQ(dialogs.shown.last(), QStringLiteral("confirm|Confirm Action|Do you really want to cancel all downloads ?"));
    EXPECT_EQ(engine.calls, (QStringList{"Download#18(3)", "Download#19(3)"}));
    EXPECT_EQ(view->downloads().rowCount(), 0);
    EXPECT_EQ(window->StatusText(2), QStringLiteral(" Downloads: 0"));
}

TEST_F(DownloadListTest, CompletionHandsTheFileToTheLibrary)
{
    QDir().mkpath(appFolder.file(QStringLiteral("My Music")));
    window->fraMedia1->SetMusicFolder(appFolder.file(QStringLiteral("My Music")));
    view->AddDownload(5, QStringLiteral("Artist - Song.mp3"), 200000, 0);
    engine.replies[QStringLiteral("Download#2(5)")] = int32_t(9);
    engine.replies[QStringLiteral("Download#4(5)")] = QStringLiteral("Artist - Song.mp3");
    engine.replies[QStringLiteral("Download#6(5)")] = int32_t(200000);
    engine.Download->raise(1, {5});
    EXPECT_EQ(row(0).status, QStringLiteral("Complete"));
    EXPECT_EQ(row(0).progress, 100);
    EXPECT_EQ(row(0).received, 200000);
    EXPECT_EQ(window->fraMedia1->model().rowCount(), 1);
    EXPECT_EQ(window->fraMedia1->model().at(0).title, QStringLiteral("Artist - Song"));
}

TEST_F(DownloadListTest, PreviewRules)
{
    view->AddDownload(1, QStringLiteral("a.mp3"), 1000, 0);
    view->AddDownload(2, QStringLiteral("b.wav"), 1000, 0);
    view->ToolCommand(0);
    EXPECT_EQ(dialogs.shown.last(), QStringLiteral("information|Information|Please select a download to preview."));
    select({1});
    view->ToolCommand(0);
    EXPECT_TRUE(engine.calls.isEmpty()) << "not music: nothing";
    engine.replies[QStringLiteral("Download#38(1)")] = QStringLiteral("/partials/a.mp3");
    select({0});
    view->ToolCommand(0);
    EXPECT_EQ(player->log.last(), QStringLiteral("open /partials/a.mp3"));

    view->popDownloadsPopup();
    EXPECT_TRUE(view->mnuPopDownloadsPreview->isEnabled());
    select({0, 1});
    view->popDownloadsPopup();
    EXPECT_FALSE(view->mnuPopDownloadsPreview->isEnabled());
    EXPECT_TRUE(view->mnuPopDownloadsCancel->isEnabled());
    EXPECT_TRUE(view->mnuPopDownloadsClearCompleted->isEnabled());
}

} // namespace
