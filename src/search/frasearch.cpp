#include "search/frasearch.h"

#include "common/fileutils.h"
#include "common/stringutils.h"
#include "platform/dialogs.h"
#include "platform/reportlist.h"
#include "platform/searchhost.h"
#include "platform/systemicons.h"
#include "search/stardelegate.h"
#include "settings/options.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kKeywordsPrompt = QStringLiteral("Enter keywords");
const QString kArtistPrompt = QStringLiteral("Enter artist name");
const QString kTitlePrompt = QStringLiteral("Enter song title");
constexpr int kHistoryLimit = 20;

QComboBox* historyBox(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(kHistoryLimit);
    return box;
}

void paint(QWidget* widget, const QColor& colour)
{
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
}

} // namespace

TfraSearch::TfraSearch(SearchHost& host, TOptions& options, QWidget* parent)
    : ViewFrame(parent), m_host(host), m_options(options)
{
    auto* strip = new QWidget(this);
    strip->setFixedWidth(177);
    paint(strip, QColor(127, 159, 226));
    auto* stripLayout = new QVBoxLayout(strip);
    stripLayout->setContentsMargins(4, 4, 4, 4);
    stripLayout->addWidget(createEntryPanel());
    stripLayout->addStretch();

    createResultsList();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(strip);
    layout->addWidget(lvwResults, 1);
    SetSearchMode(0);
}

QWidget* TfraSearch::createEntryPanel()
{
    auto* panel = new QWidget(this);
    panel->setFixedWidth(169);
    panel->setMinimumHeight(303);
    paint(panel, QColor(214, 223, 247));

    radSearchKeywords = new QRadioButton(QStringLiteral("Keyword search"), panel);
    cmbKeywords = historyBox(panel);
    radSearchArtist = new QRadioButton(QStringLiteral("Artist search"), panel);
    cmbArtists = historyBox(panel);
    chkMatchArtist = new QCheckBox(QStringLiteral("Exact match"), panel);
    radSearchSong = new QRadioButton(QStringLiteral("Song search"), panel);
    cmbSongArtists = historyBox(panel);
    txtSongTitle = new QLineEdit(panel);
    chkMatchSong = new QCheckBox(QStringLiteral("Exact match"), panel);
    cmdSearch = new QPushButton(QStringLiteral("Search"), panel);
    cmdSearchMore = new QPushButton(QStringLiteral("Search More"), panel);
    cmdSearch->setEnabled(false);
    cmdSearchMore->setEnabled(false);
    radSearchKeywords->setChecked(true);

    auto* modes = new QButtonGroup(panel);
    modes->addButton(radSearchKeywords, 0);
    modes->addButton(radSearchArtist, 1);
    modes->addButton(radSearchSong, 2);
    connect(modes, &QButtonGroup::idClicked, this, &TfraSearch::SetSearchMode);
    connect(cmdSearch, &QPushButton::clicked, this, &TfraSearch::cmdSearchClick);
    connect(cmdSearchMore, &QPushButton::clicked, this, &TfraSearch::SearchMore);
    // An editable combo box takes the focus and the keys for its line edit, so both are watched.
    for (QComboBox* box : {cmbKeywords, cmbArtists, cmbSongArtists}) {
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
    }
    txtSongTitle->installEventFilter(this);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(4);
    layout->addWidget(radSearchKeywords);
    layout->addWidget(cmbKeywords);
    layout->addSpacing(8);
    layout->addWidget(radSearchArtist);
    layout->addWidget(cmbArtists);
    layout->addWidget(chkMatchArtist);
    layout->addSpacing(8);
    layout->addWidget(radSearchSong);
    layout->addWidget(cmbSongArtists);
    layout->addWidget(txtSongTitle);
    layout->addWidget(chkMatchSong);
    layout->addStretch();
    layout->addWidget(cmdSearch);
    layout->addWidget(cmdSearchMore);
    return panel;
}

void TfraSearch::createResultsList()
{
    m_results = new ResultsModel(
        [](int index) { return QVariant(SystemIcons::shared().icon(index)); }, this);
    lvwResults = new QTableView(this);
    lvwResults->setObjectName(QStringLiteral("lvwResults"));
    lvwResults->setModel(m_results);
    lvwResults->setItemDelegateForColumn(ResultsModel::AvailabilityColumn, new StarDelegate(lvwResults));
    ConfigureReportList(lvwResults, {20, 150, 100, 65, 50, 75, 75});
    connect(lvwResults->horizontalHeader(), &QHeaderView::sectionClicked, m_results,
            &ResultsModel::columnClicked);
    connect(lvwResults, &QTableView::doubleClicked, this, &TfraSearch::DownloadSelected);

    popResults = new QMenu(this);
    mnuPopResultsDownload = popResults->addAction(QStringLiteral("Download"));
    connect(mnuPopResultsDownload, &QAction::triggered, this, &TfraSearch::DownloadSelected);
    connect(lvwResults, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        mnuPopResultsDownload->setEnabled(CurrentSearchID >= 0 &&
                                          lvwResults->selectionModel()->hasSelection());
        popResults->popup(lvwResults->viewport()->mapToGlobal(at));
    });
}

void TfraSearch::Initialize()
{
    CurrentSearchID = -1;
    ReloadHistory();
}

void TfraSearch::Finalize()
{
    SaveHistory();
}

void TfraSearch::ToolCommand(int number)
{
    if (number == 0)
        NewSearch();
    else if (number == 1)
        DownloadSelected();
}

QString TfraSearch::historyPath(const QString& file) const
{
    return m_host.AppPath() + QStringLiteral("/Data/") + file;
}

void TfraSearch::ReloadHistory()
{
    LoadHistory(cmbKeywords, QStringLiteral("keywords.dat"), kKeywordsPrompt);
    LoadHistory(cmbArtists, QStringLiteral("artists.dat"), kArtistPrompt);
    LoadHistory(cmbSongArtists, QStringLiteral("artists.dat"), kArtistPrompt);
    txtSongTitle->setText(kTitlePrompt);
}

void TfraSearch::LoadHistory(QComboBox* box, const QString& file, const QString& prompt)
{
    box->clear();
    const QString path = historyPath(file);
    if (QFile::exists(path)) {
        static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
        QStringList lines = QString::fromUtf8(TFileUtils::LoadFileText(path)).split(lineBreak);
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        box->addItems(lines);
    }
    box->setEditText(prompt);
}

void TfraSearch::SaveHistory()
{
    const auto write = [this](QComboBox* box, const QString& file) {
        QByteArray text;
        for (int i = 0; i < box->count(); ++i)
            text += box->itemText(i).toUtf8() + "\r\n";
        TFileUtils::SaveFileText(historyPath(file), text);
    };
    write(cmbKeywords, QStringLiteral("keywords.dat"));
    write(cmbArtists, QStringLiteral("artists.dat"));
}

void TfraSearch::AddToHistory(QComboBox* box, const QString& text)
{
    for (int i = 0; i < box->count(); ++i)
        if (box->itemText(i).compare(text, Qt::CaseInsensitive) == 0)
            return;
    const QString shown = box->currentText();
    box->insertItem(0, text);
    if (box->count() > kHistoryLimit)
        box->removeItem(box->count() - 1);
    box->setEditText(shown);
}

void TfraSearch::SetSearchMode(int mode)
{
    SearchMode = mode;
    for (QWidget* control : {static_cast<QWidget*>(cmbKeywords), static_cast<QWidget*>(cmbArtists),
                             static_cast<QWidget*>(chkMatchArtist),
                             static_cast<QWidget*>(cmbSongArtists),
                             static_cast<QWidget*>(txtSongTitle), static_cast<QWidget*>(chkMatchSong)})
        control->setEnabled(false);
    if (mode == 0) {
        cmbKeywords->setEnabled(true);
    } else if (mode == 1) {
        cmbArtists->setEnabled(true);
        chkMatchArtist->setEnabled(true);
    } else {
        cmbSongArtists->setEnabled(true);
        txtSongTitle->setEnabled(true);
        chkMatchSong->setEnabled(true);
    }
}

bool TfraSearch::eventFilter(QObject* watched, QEvent* event)
{
    QLineEdit* entry = qobject_cast<QLineEdit*>(watched);
    if (auto* box = qobject_cast<QComboBox*>(watched))
        entry = box->lineEdit();
    if (entry && event->type() == QEvent::FocusIn) {
        const QString text = entry->text();
        if (text == kKeywordsPrompt || text == kArtistPrompt || text == kTitlePrompt)
            entry->clear();
    } else if (entry && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (cmdSearch->isEnabled())
                StartSearch();
            return true;
        }
    }
    return ViewFrame::eventFilter(watched, event);
}

void TfraSearch::cmdSearchClick()
{
    if (cmdSearch->text() == QStringLiteral("Search"))
        StartSearch();
    else
        StopSearch();
}

void TfraSearch::StartSearch()
{
    ArtistFilter.clear();
    TitleFilter.clear();
    QString query;
    if (SearchMode == 0) {
        query = TStringUtils::TrimControls(cmbKeywords->currentText());
        if (query == kKeywordsPrompt)
            query.clear();
    } else {
        QComboBox* box = SearchMode == 1 ? cmbArtists : cmbSongArtists;
        query = TStringUtils::TrimControls(box->currentText());
        if (query == kArtistPrompt)
            query.clear();
        ArtistFilter = query;
        if (SearchMode == 2) {
            TitleFilter = TStringUtils::TrimControls(txtSongTitle->text());
            if (TitleFilter.isEmpty() || TitleFilter == kTitlePrompt)
                query.clear();
        }
    }
    if (query.isEmpty()) {
        Dialogs::instance().information(this, QStringLiteral("Information"),
                              QStringLiteral("Please enter your search keys."));
        return;
    }
    if (m_options.UseSearchHistory) {
        if (SearchMode == 0) {
            AddToHistory(cmbKeywords, query);
        } else {
            AddToHistory(cmbArtists, query);
            AddToHistory(cmbSongArtists, query);
        }
    }
    m_results->setSortState(0);
    RunSearch(query);
}

void TfraSearch::RunSearch(const QString& query)
{
    EndSearch();
    m_results->clear();
    CurrentSearchID = m_host.SearchStart(query);
    m_host.SetStatusText(1, QStringLiteral(" Search Results: 0"));
    cmdSearch->setText(QStringLiteral("Stop Search"));
    cmdSearchMore->setEnabled(true);
}

void TfraSearch::StopSearch()
{
    if (CurrentSearchID >= 0)
        m_host.SearchStop(CurrentSearchID);
    cmdSearch->setText(QStringLiteral("Search"));
    cmdSearchMore->setEnabled(false);
}

void TfraSearch::EndSearch()
{
    if (CurrentSearchID < 0)
        return;
    m_host.SearchEnd(CurrentSearchID);
    CurrentSearchID = -1;
}

void TfraSearch::SearchMore()
{
    if (CurrentSearchID < 0)
        return;
    m_host.SearchStop(CurrentSearchID);
    m_host.SearchContinue(CurrentSearchID);
}

void TfraSearch::NewSearch()
{
    StopSearch();
    emptyResults();
    QWidget* focus = nullptr;
    if (SearchMode == 0) {
        cmbKeywords->setEditText(QString());
        focus = cmbKeywords;
    } else if (SearchMode == 1) {
        cmbArtists->setEditText(QString());
        focus = cmbArtists;
    } else {
        cmbSongArtists->setEditText(QString());
        txtSongTitle->clear();
        focus = cmbSongArtists;
    }
    focus->setFocus();
}

void TfraSearch::emptyResults()
{
    m_results->clear();
    m_host.SetStatusText(1, QStringLiteral(" Search Results: 0"));
}

void TfraSearch::NetworkConnected()
{
    cmdSearch->setEnabled(true);
    if (CurrentSearchID >= 0)
        cmdSearchMore->setEnabled(true);
}

void TfraSearch::NetworkDisconnected()
{
    cmdSearch->setEnabled(false);
    cmdSearchMore->setEnabled(false);
}

void TfraSearch::SearchPaused()
{
    SearchMore();
}
