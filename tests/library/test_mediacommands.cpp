#include "fakehost.h"
#include "library/framedia.h"
#include "library/frmmediadetails.h"
#include "support/mp3builder.h"
#include "support/selectrows.h"
#include "support/recorderplayer.h"
#include "support/recordingdialogs.h"
#include "support/testfolder.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

struct CommandsTest : ::testing::Test {
    TestFolder app;
    TestFolder music;
    RecordingDialogs dialogs;
    FakeHost host{app.path()};
    std::unique_ptr<TfraMedia> view;

    void SetUp() override
    {
        QDir(app.path()).mkdir(QStringLiteral("Data"));
        for (const char* name : {"a song.mp3", "b song.mp3", "c song.mp3"})
            music.write(QString::fromLatin1(name), mp3::stream({}, 16000));
        view = std::make_unique<TfraMedia>(host, std::make_unique<RecorderPlayer>());
        view->Initialize();
        view->SetMusicFolder(music.path());
    }

    void select(std::initializer_list<int> rows) { SelectRows(view->lvwMedia, rows); }

    QStringList files() const { return QDir(music.path()).entryList(QDir::Files); }
};

TEST_F(CommandsTest, RenameRules)
{
    view->ToolCommand(1);
    EXPECT_EQ(dialogs.shown.last(), QStringLiteral("information|Information|Please select a file to rename."));

    select({0});
    for (const char* refused : {".mp3", "a song.wav", "a song.mp3", "b song.mp3", "x/y.mp3"}) {
        dialogs.textReplies << QString::fromLatin1(refused);
        view->ToolCommand(1);
    }
    dialogs.textReplies << QString(); // Cancel
    view->ToolCommand(1);
    EXPECT_EQ(files(), (QStringList{"a song.mp3", "b song.mp3", "c song.mp3"}));
    EXPECT_EQ(dialogs.shown.last(),
              QStringLiteral("ask|Rename File|Please enter the new name for the file.|a song.mp3"));

    dialogs.textReplies << QStringLiteral("A Song.MP3");
    view->ToolCommand(1);
    EXPECT_EQ(files(), (QStringList{"A Song.MP3", "b song.mp3", "c song.mp3"}));
    EXPECT_EQ(view->model().at(0).fileName, QStringLiteral("A Song.MP3"));
    EXPECT_EQ(view->model().at(0).title, QStringLiteral("a song")) << "the title stays";
    EXPECT_EQ(view->database().FindMedia(music.path(), QStringLiteral("A Song.MP3")).front().fFileName,
              QStringLiteral("A Song.MP3"));
}

TEST_F(CommandsTest, DeleteAsksThenRemovesFileRowAndRecord)
{
    select({1});
    dialogs.confirmReplies = {false};
    view->ToolCommand(3);
    EXPECT_EQ(dialogs.shown.last(),
              QStringLiteral("confirm|Confirm Action|Do you really want to delete\nb song.mp3 ?"));
    EXPECT_EQ(files().size(), 3);

    select({0, 1, 2});
    dialogs.confirmReplies = {true};
    view->ToolCommand(3);
    EXPECT_EQ(dialogs.shown.last(),
              QStringLiteral("confirm|Confirm Action|Do you really want to delete the selected files ?"));
    EXPECT_TRUE(files().isEmpty());
    EXPECT_EQ(view->model().rowCount(), 0);
    EXPECT_TRUE(view->database().SelectAllMedia().empty());
    EXPECT_EQ(host.panels[3], QStringLiteral(" Music Files: 0"));

    const qsizetype asked = dialogs.shown.size();
    view->ToolCommand(3);
    EXPECT_EQ(dialogs.shown.size(), asked) << "nothing selected: no question";
}

TEST_F(CommandsTest, EditDetailsTrimsAndUpdatesRowAndRecord)
{
    select({2});
    dialogs.modalScripts.push_back([](QDialog& dialog) {
        auto& details = static_cast<TfrmMediaDetails&>(dialog);
        EXPECT_EQ(details.windowTitle(), QStringLiteral("File Details"));
        EXPECT_EQ(details.txtTitle->text(), QStringLiteral("c song"));
        EXPECT_EQ(details.txtYear->maxLength(), 4);
        details.cmbArtists->setEditText(QStringLiteral("  Queen "));
        details.txtTitle->setText(QStringLiteral("\tBohemian \"Rhapsody\" "));
        details.cmdOK->click();
    });
    view->ToolCommand(2);
    EXPECT_EQ(view->model().at(2).artist, QStringLiteral("Queen"));
    EXPECT_EQ(view->model().at(2).title, QStringLiteral("Bohemian \"Rhapsody\""));
    const MediaRecord stored = view->database().FindMedia(music.path(), QStringLiteral("c song.mp3")).front();
    EXPECT_EQ(stored.fArtist, QStringLiteral("Queen"));

    dialogs.modalScripts.push_back([](QDialog& dialog) {
        auto& details = static_cast<TfrmMediaDetails&>(dialog);
        EXPECT_EQ(details.cmbArtists->findText(QStringLiteral("Queen")), 0) << "lists every artist";
        details.cmbArtists->setEditText(QStringLiteral("Nobody"));
        details.cmdCancel->click();
    });
    view->ToolCommand(2);
    EXPECT_EQ(view->model().at(2).artist, QStringLiteral("Queen"));

    select({0, 1});
    const qsizetype shown = dialogs.shown.size();
    view->ToolCommand(2);
    EXPECT_EQ(dialogs.shown.size(), shown) << "two rows: nothing happens";
}

} // namespace
