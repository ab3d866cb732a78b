#include "common/fileutils.h"
#include "search/frasearch.h"
#include "support/mainwindowfixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

struct SearchEntryTest : MainWindowFixture {
    TfraSearch* view = nullptr;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        startEngine();
        view = window->fraSearch1;
        engine.replies[QStringLiteral("Search#1")] = int32_t(11);
    }
    QStringList historyOf(QComboBox* box)
    {
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items << box->itemText(i);
        return items;
    }
};

TEST_F(SearchEntryTest, StartsWithPromptsAndNoConnection)
{
    EXPECT_EQ(view->cmbKeywords->currentText(), QStringLiteral("Enter keywords"));
    EXPECT_EQ(view->cmbArtists->currentText(), QStringLiteral("Enter artist name"));
    EXPECT_EQ(view->txtSongTitle->text(), QStringLiteral("Enter song title"));
    EXPECT_FALSE(view->cmdSearch->isEnabled());
    EXPECT_FALSE(view->cmdSearchMore->isEnabled());
    EXPECT_TRUE(view->cmbKeywords->isEnabled());
    EXPECT_FALSE(view->cmbArtists->isEnabled());
    view->radSearchSong->click();
    EXPECT_EQ(view->SearchMode, 2);
    EXPECT_TRUE(view->txtSongTitle->isEnabled());
    EXPECT_FALSE(view->cmbKeywords->isEnabled());
}

TEST_F(SearchEntryTest, KeywordSearchSendsTheTrimmedQueryAndKeepsHistory)
{
    view->NetworkConnected();
    view->cmbKeywords->setEditText(QStringLiteral("  Beatles \t"));
    view->cmdSearch->click();
    EXPECT_EQ(engine.calls, QStringList{QStringLiteral("Search#1(\"Beatles\")")});
    EXPECT_EQ(view->CurrentSearchID, 11);
    EXPECT_EQ(view->cmdSearch->text(), QStringLiteral("Stop Search"));
    EXPECT_TRUE(view->cmdSearchMore->isEnabled());
    EXPECT_EQ(window->StatusText(1), QStringLiteral(" Search Results: 0"));
    EXPECT_EQ(historyOf(view->cmbKeywords), QStringList{QStringLiteral("Beatles")});

    // Enter while running ends the search and starts anew; "Stop Search" only stops.
    engine.calls.clear();
    view->cmbKeywords->setEditText(QStringLiteral("beatles"));
    QTest::keyClick(view->cmbKeywords->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(engine.calls, (QStringList{"Search#2(11)", "Search#1(\"beatles\")"}));
    EXPECT_EQ(historyOf(view->cmbKeywords), QStringList{QStringLiteral("Beatles")});
    engine.calls.clear();
    view->cmdSearch->click();
    EXPECT_EQ(engine.calls, QStringList{QStringLiteral("Search#7(11)")});
    EXPECT_EQ(view->cmdSearch->text(), QStringLiteral("Search"));
    EXPECT_FALSE(view->cmdSearchMore->isEnabled());
    EXPECT_EQ(view->CurrentSearchID, 11);

    // After a disconnect and a reconnect the stopped search can be extended.
    view->NetworkDisconnected();
    EXPECT_FALSE(view->cmdSearch->isEnabled());
    view->NetworkConnected();
    EXPECT_TRUE(view->cmdSearchMore->isEnabled());
    engine.calls.clear();
    view->SearchPaused();
    EXPECT_EQ(engine.calls, (QStringList{"Search#7(11)", "Search#36(11)"}));
}

TEST_F(SearchEntryTest, RefusedEntriesShowTheMessage)
{
    view->NetworkConnected();
    view->cmdSearch->click();
    view->radSearchSong->click();
    view->cmbSongArtists->setEditText(QStringLiteral("Abba"));
    view->txtSongTitle->setText(QString());
    view->cmdSearch->click();
    view->cmbSongArtists->setEditText(QString());
    view->txtSongTitle->setText(QStringLiteral("Waterloo"));
    view->cmdSearch->click();
    EXPECT_EQ(dialogs.shown.count(QStringLiteral("information|Information|Please enter your search keys.")), 3);
    EXPECT_TRUE(engine.calls.isEmpty());

    QTest::keyClick(view->txtSongTitle, Qt::Key_Return); // consumed, and still refused
    view->NetworkDisconnected();
    dialogs.shown.clear();
    QTest::keyClick(view->txtSongTitle, Qt::Key_Return);
    EXPECT_TRUE(dialogs.shown.isEmpty()) << "Enter starts nothing while disconnected";
}

TEST_F(SearchEntryTest, ComboBoxesClearTheirPromptOnFocusAndTakeEnter)
{
    // An editable combo box receives the focus and the keys for its line edit.
    view->NetworkConnected();
    QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(view->cmbKeywords, &focus);
    EXPECT_TRUE(view->cmbKeywords->currentText().isEmpty());
    view->cmbKeywords->setEditText(QStringLiteral("abba"));
    QTest::keyClick(view->cmbKeywords, Qt::Key_Enter);
    EXPECT_EQ(engine.calls, QStringList{QStringLiteral("Search#1(\"abba\")")});
}

TEST_F(SearchEntryTest, SongSearchSendsOnlyTheArtist)
{
    view->NetworkConnected();
    view->radSearchSong->click();
    view->cmbSongArtists->setEditText(QStringLiteral("Abba"));
    view->txtSongTitle->setText(QStringLiteral("Waterloo"));
    view->cmdSearch->click();
    EXPECT_EQ(engine.calls, QStringList{QStringLiteral("Search#1(\"Abba\")")});
    EXPECT_EQ(view->ArtistFilter, QStringLiteral("Abba"));
    EXPECT_EQ(view->TitleFilter, QStringLiteral("Waterloo"));
    EXPECT_EQ(historyOf(view->cmbArtists), QStringList{QStringLiteral("Abba")});
    EXPECT_EQ(historyOf(view->cmbSongArtists), QStringList{QStringLiteral("Abba")});
    EXPECT_TRUE(historyOf(view->cmbKeywords).isEmpty());
}

TEST_F(SearchEntryTest, HistoryLimitFilesAndReload)
{
    QByteArray thirty;
    for (int i = 0; i < 30; ++i)
        thirty += "entry " + QByteArray::number(i) + (i % 2 ? "\r\n" : "\n");
    appFolder.write(QStringLiteral("Data/keywords.dat"), thirty);
    appFolder.write(QStringLiteral("Data/artists.dat"), "A\rB\r\n");
    view->ReloadHistory();
    EXPECT_EQ(view->cmbKeywords->count(), 30);
    EXPECT_EQ(historyOf(view->cmbArtists), (QStringList{"A", "B"}));

    QStringList twenty;
    for (int i = 0; i < 20; ++i)
        twenty << QStringLiteral("k%1").arg(i);
    view->cmbKeywords->clear();
    view->cmbKeywords->addItems(twenty);
    view->AddToHistory(view->cmbKeywords, QStringLiteral("K5"));
    EXPECT_EQ(historyOf(view->cmbKeywords), twenty) << "present entries keep their place";
    view->AddToHistory(view->cmbKeywords, QStringLiteral("new"));
    EXPECT_EQ(view->cmbKeywords->count(), 20);
    EXPECT_EQ(view->cmbKeywords->itemText(0), QStringLiteral("new"));
    EXPECT_EQ(view->cmbKeywords->itemText(19), QStringLiteral("k18"));

    view->SaveHistory();
    EXPECT_EQ(TFileUtils::LoadFileText(data(QStringLiteral("keywords.dat"))).left(11),
              QByteArray("new\r\nk0\r\nk1"));
    view->ReloadHistory();
    view->AddToHistory(view->cmbArtists, QStringLiteral("unsaved"));
    view->ReloadHistory();
    EXPECT_EQ(historyOf(view->cmbArtists), (QStringList{"A", "B"})) << "unsaved entries are dropped";
}

} // namespace
