#include "downloads/fradownloads.h"
#include "search/frasearch.h"
#include "support/mainwindowfixture.h"

#include <QAbstractItemModelTester>
#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>

namespace {

struct ResultsTest : MainWindowFixture {
    TfraSearch* view = nullptr;
    int32_t nextResult = 1;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        startEngine();
        view = window->fraSearch1;
        engine.replies[QStringLiteral("Search#1")] = int32_t(3);
        view->NetworkConnected();
    }

    void search(int mode, const QString& artist = {}, const QString& title = {})
    {
        QRadioButton* buttons[] = {view->radSearchKeywords, view->radSearchArtist, view->radSearchSong};
        buttons[mode]->click();
        view->cmbKeywords->setEditText(QStringLiteral("anything"));
        view->cmbArtists->setEditText(artist);
        view->cmbSongArtists->setEditText(artist);
        view->txtSongTitle->setText(title);
        view->StartSearch();
    }

    // Feeds one result; true when it became a row.
    bool feed(const QString& name, int32_t size = 500000, int32_t hosts = 1)
    {
        const int before = view->results().rowCount();
        view->ResultReceived(3, nextResult++, name, size, hosts);
        return view->results().rowCount() == before + 1;
    }
};

TEST_F(ResultsTest, NamesSizesAndTheOneDash)
{
    search(0);
    EXPECT_TRUE(feed(QStringLiteral("Some_Band_-_Some_Song.mp3")));
    EXPECT_EQ(view->results().at(0).artist, QStringLiteral("Some Band"));
    EXPECT_EQ(view->results().at(0).title, QStringLiteral("Some Song"));
    EXPECT_EQ(view->results().at(0).fileName, QStringLiteral("Some Band - Some Song.mp3"));
    const std::pair<QString, bool> names[] = {
        {"Band - Song.MP3", true},        {"Band - Song.wma", false},
        {"No dash here.mp3", false},      {"A - B - C.mp3", false},
        {" - Song.mp3", false},           {"C:\\share\\Band - Song.mp3", true},
        {"Band-Song.mp3", true},          {QString(122, QLatin1Char('x')) + " - .mp3", false}};
    for (const auto& [name, kept] : names)
        EXPECT_EQ(feed(name), kept) << name.toStdString();
    EXPECT_FALSE(feed(QStringLiteral("A - B.mp3"), 102399));
    EXPECT_TRUE(feed(QStringLiteral("A - B.mp3"), 102400));
    const QString longName = QStringLiteral("A - ") + QString(120, QLatin1Char('b')) + QStringLiteral(".mp3");
    ASSERT_EQ(longName.size(), 128);
    EXPECT_TRUE(feed(longName));
    EXPECT_FALSE(feed(QLatin1Char('x') + longName));
    EXPECT_EQ(window->StatusText(1),
              QStringLiteral(" Search Results: %1").arg(view->results().rowCount()));
}

TEST_F(ResultsTest, ArtistAndSongModes)
{
    search(1, QStringLiteral("beat"));
    EXPECT_TRUE(feed(QStringLiteral("The Beatles - Help.mp3")));
    view->chkMatchArtist->setChecked(true);
    EXPECT_FALSE(feed(QStringLiteral("The Beatles - Help.mp3")));
    search(1, QStringLiteral("the beatles"));
    EXPECT_TRUE(feed(QStringLiteral("The Beatles - Help.mp3")));

    search(2, QStringLiteral("Nobody"), QStringLiteral("help"));
    EXPECT_TRUE(feed(QStringLiteral("Anyone - Help Me.mp3"))) << "the artist is not compared";
    view->chkMatchSong->setChecked(true);
    EXPECT_FALSE(feed(QStringLiteral("Anyone - Help Me.mp3")));
    EXPECT_TRUE(feed(QStringLiteral("NOBODY - HELP.mp3")));

    // Switching to the artist mode during a keyword search drops later results.
    search(0);
    view->radSearchArtist->click();
    EXPECT_FALSE(feed(QStringLiteral("The Beatles - Help.mp3")));
}

TEST_F(ResultsTest, UpdatesStarsSortingAndStoppedSearches)
{
    search(0);
    QAbstractItemModelTester tester(&view->results(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    feed(QStringLiteral("B - b.mp3"), 200000, 4);
    feed(QStringLiteral("a - a.mp3"), 300000, 60);
    feed(QStringLiteral("C - c.mp3"), 150000, 9);
    const int32_t first = 1;
    EXPECT_EQ(ResultsModel::availabilityPicture(4), 0);
    view->ResultUpdated(3, first, 5);
    EXPECT_EQ(view->results().at(0).hosts, 5);
    EXPECT_EQ(view->results().data(view->results().index(0, ResultsModel::AvailabilityColumn), Qt::UserRole), 1);
    const std::pair<int, int> pictures[] = {{4, 0}, {5, 1}, {9, 1}, {10, 2}, {19, 2}, {20, 3}, {49, 3}, {50, 4}};
    for (const auto& [hosts, picture] : pictures)
        EXPECT_EQ(ResultsModel::availabilityPicture(hosts), picture) << hosts;

    view->results().columnClicked(ResultsModel::HostsColumn);
    EXPECT_EQ(view->results().sortState(), -5);
    EXPECT_EQ(view->results().at(0).hosts, 60) << "most hosts first";
    view->results().columnClicked(ResultsModel::HostsColumn);
    EXPECT_EQ(view->results().at(0).hosts, 5);
    view->results().columnClicked(ResultsModel::TitleColumn);
    EXPECT_EQ(view->results().at(0).title, QStringLiteral("a"));
    feed(QStringLiteral("0 - 0.mp3"));
    EXPECT_EQ(view->results().at(3).title, QStringLiteral("0")) << "appended, not sorted in";

    view->cmdSearch->click(); // Stop Search
    EXPECT_FALSE(feed(QStringLiteral("D - d.mp3")));
    view->ResultUpdated(3, first, 99);
    EXPECT_NE(view->results().at(view->results().find(3, first)).hosts, 99);
}

TEST_F(ResultsTest, DownloadSelectedStartsEachAndStopsAtAFailure)
{
    search(0);
    for (const char* name : {"A - 1.mp3", "A - 2.mp3", "A - 3.mp3"})
        feed(QString::fromLatin1(name));
    engine.replies[QStringLiteral("Search#16(3,1)")] = int32_t(70);
    engine.replies[QStringLiteral("Download#4(70)")] = QStringLiteral("A - 1.mp3");
    engine.replies[QStringLiteral("Download#6(70)")] = int32_t(500000);
    engine.failing.insert(QStringLiteral("Search#16(3,2)"));
    options->ShowLegalNotice = true;
    for (int row : {0, 1, 2})
        view->lvwResults->selectionModel()->select(view->results().index(row, 0),
                                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    engine.calls.clear();
    EXPECT_THROW(view->DownloadSelected(), AutomationError);
    EXPECT_EQ(dialogs.shown.last(), QStringLiteral("modal|Legal Notice"));
    EXPECT_EQ(engine.calls, (QStringList{"Search#16(3,1)", "Download#4(70)", "Download#6(70)",
                                         "Download#5(70)", "Search#16(3,2)"}));
    EXPECT_EQ(view->results().at(0).status, QStringLiteral("Downloading"));
    EXPECT_EQ(view->results().at(1).status, QStringLiteral("Downloading"));
    EXPECT_TRUE(view->results().at(2).status.isEmpty());
    EXPECT_EQ(view->lvwResults->selectionModel()->selectedRows().size(), 3);
    ASSERT_EQ(window->fraDownloads1->downloads().rowCount(), 1);
    EXPECT_EQ(window->fraDownloads1->downloads().at(0).status, QStringLiteral("Pending"));
    EXPECT_EQ(window->StatusText(2), QStringLiteral(" Downloads: 1"));
}

} // namespace
