#include "fakehost.h"
#include "library/framedia.h"
#include "support/mp3builder.h"
#include "support/selectrows.h"
#include "support/recorderplayer.h"
#include "support/recordingdialogs.h"
#include "support/testfolder.h"

#include <QDir>
#include <QImage>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTableView>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace {

using mp3::latin1Text;

QByteArray tagged(const char* title, const char* artist, const char* album)
{
    return mp3::id3v2(3, {{"TIT2", latin1Text(title)}, {"TPE1", latin1Text(artist)},
                          {"TALB", latin1Text(album)}}) +
           mp3::stream({}, 32000);
}

struct MusicViewTest : ::testing::Test {
    TestFolder app;
    TestFolder music;
    RecordingDialogs dialogs;
    FakeHost host{app.path()};
    RecorderPlayer* player = nullptr;
    std::unique_ptr<TfraMedia> view;

    void SetUp() override
    {
        for (const char* folder : {"Data", "Covers", "Lyrics"})
            QDir(app.path()).mkdir(QString::fromLatin1(folder));
        music.write(QStringLiteral("1.mp3"), tagged("Alpha", "Art", "Alb"));
        music.write(QStringLiteral("2.mp3"), tagged("Beta", "Art", "Other"));
        music.write(QStringLiteral("3.mp3"), tagged("Gamma", "Band", "Alb"));
        auto recorder = std::make_unique<RecorderPlayer>();
        player = recorder.get();
        view = std::make_unique<TfraMedia>(host, std::move(recorder));
        view->Initialize();
        view->SetMusicFolder(music.path());
    }

    void select(std::initializer_list<int> rows) { SelectRows(view->lvwMedia, rows); }

    QString pathOf(int row) { return view->model().at(row).path(); }
};

TEST_F(MusicViewTest, ScanListsTheFolderByTitle)
{
    ASSERT_EQ(view->model().rowCount(), 3);
    EXPECT_EQ(view->model().at(0).title, QStringLiteral("Alpha"));
    EXPECT_EQ(view->model().at(2).title, QStringLiteral("Gamma"));
    EXPECT_EQ(host.panels[3], QStringLiteral(" Music Files: 3"));

    music.write(QStringLiteral("4.mp3"), tagged("Delta", "X", "Y"));
    view->SetMusicFolder(music.path());
    EXPECT_EQ(view->model().rowCount(), 3) << "the same folder text does not scan";
    view->ToolCommand(5);
    EXPECT_EQ(view->model().rowCount(), 4) << "refresh does";
    view->SetMusicFolder(music.path().toUpper());
    EXPECT_EQ(view->MusicFolder(), music.path().toUpper()) << "another letter case scans";
}

TEST_F(MusicViewTest, DetailsPanelShowsCoverAndLyricOfOneRow)
{
    QImage(16, 12, QImage::Format_RGB32).save(app.file(QStringLiteral("Covers/Art - Alb.jpg")), "JPG");
    QImage(8, 8, QImage::Format_RGB32).save(app.file(QStringLiteral("Covers/defaultcover.jpg")), "JPG");
    app.write(QStringLiteral("Lyrics/Art - Alpha.txt"), "  line one \r\n\tline two  \n\n");

    select({0});
    EXPECT_EQ(view->imgCover->pixmap().size(), QSize(16, 12));
    EXPECT_EQ(view->memLyric->toPlainText(), QStringLiteral("\nArt - Alpha\n\nline one\nline two"));

    select({1});
    EXPECT_EQ(view->imgCover->pixmap().size(), QSize(8, 8)) << "no cover: the default one";
    EXPECT_EQ(view->memLyric->toPlainText(), QStringLiteral("\nNo Lyric Available"));

    select({0, 2});
    EXPECT_EQ(view->imgCover->pixmap().size(), QSize(8, 8));
}

TEST_F(MusicViewTest, PlaySelectedRowsInDisplayOrder)
{
    view->lvwMediaColumnClick(MediaListModel::TitleColumn);
    view->lvwMediaColumnClick(MediaListModel::TitleColumn); // descending: Gamma, Beta, Alpha
    const QString first = pathOf(0), second = pathOf(1), third = pathOf(2);
    select({0, 1, 2});
    view->ToolCommand(0);
    EXPECT_TRUE(view->Playing);
    EXPECT_EQ(host.caption, QStringLiteral("Tavrin - 3"));
    EXPECT_EQ(host.playButton.toolTip(), QStringLiteral("Stop Playing"));
    EXPECT_TRUE(view->lvwMedia->selectionModel()->selectedRows().isEmpty());
    EXPECT_TRUE(view->tmrPlay.isActive());
    view->tmrPlayTimer();
    view->lvwMediaColumnClick(MediaListModel::TitleColumn); // resorting changes nothing
    player->finishFile();
    player->finishFile();
    EXPECT_EQ(player->log, (QStringList{"open " + first, "play", "open " + second, "open " + third}));
    player->finishFile();
    EXPECT_EQ(host.caption, QStringLiteral("Tavrin"));
    EXPECT_EQ(host.playButton.toolTip(), QStringLiteral("Play Selected Files"));
    EXPECT_FALSE(view->Playing);
    EXPECT_EQ(player->log.last(), QStringLiteral("stop"));
}

TEST_F(MusicViewTest, PlayNeedsASelectionAndStopsOnASecondPress)
{
    view->ToolCommand(0);
    EXPECT_EQ(dialogs.shown,
              QStringList{QStringLiteral("information|Information|Please select one or more files to play.")});
    EXPECT_FALSE(view->Playing);
    select({1});
    view->ToolCommand(0);
    EXPECT_EQ(view->lvwMedia->selectionModel()->selectedRows().size(), 1) << "one row stays selected";
    view->ToolCommand(0);
    EXPECT_FALSE(view->Playing);
    EXPECT_EQ(player->log.last(), QStringLiteral("stop"));
    EXPECT_EQ(host.caption, QStringLiteral("Tavrin - 2")) << "the caption still names the file";
}

TEST_F(MusicViewTest, PreviewAfterTheListRanOutRestartsTheOldList)
{
    select({0});
    view->ToolCommand(0);
    view->tmrPlayTimer();
    player->finishFile();
    EXPECT_FALSE(view->Playing);
    player->log.clear();
    view->PlayFile(QStringLiteral("/partials/preview.mp3"));
    EXPECT_EQ(host.caption, QStringLiteral("Tavrin - preview"));
    EXPECT_EQ(host.playButton.toolTip(), QStringLiteral("Play Selected Files"));
    EXPECT_FALSE(view->tmrPlay.isActive());
    player->finishFile();
    EXPECT_EQ(player->log, (QStringList{"stop", "open /partials/preview.mp3", "open " + pathOf(0)}));
}

TEST_F(MusicViewTest, DownloadedFilesJoinOnlyWithSafeNames)
{
    music.write(QStringLiteral("Artist - New.mp3"), mp3::stream({}, 48000));
    view->AddDownloadedFile(QStringLiteral("Artist - New.mp3"), 48000);
    ASSERT_EQ(view->model().rowCount(), 4);
    EXPECT_EQ(view->model().at(3).title, QStringLiteral("Artist - New"));
    EXPECT_EQ(host.panels[3], QStringLiteral(" Music Files: 4"));
    for (const QString& name : {QStringLiteral("../x.mp3"), QStringLiteral("/etc/passwd.mp3"),
                                QStringLiteral("a\\b.mp3"), QStringLiteral(".hidden.mp3"),
                                QStringLiteral("x\ny.mp3"), QString::fromUtf8("x\0y.mp3", 7),
                                QString()}) {
        view->AddDownloadedFile(name, 100);
    }
    EXPECT_EQ(view->model().rowCount(), 4);
    EXPECT_EQ(view->database().SelectAllMedia().size(), 4u);
}

} // namespace
