#include "library/framedia.h"

#include "common/fileutils.h"
#include "common/formatting.h"
#include "common/stringutils.h"
#include "library/audioplayer.h"
#include "library/medialibrary.h"
#include "library/playerbar.h"
#include "platform/artwork.h"
#include "platform/jpegimage.h"
#include "platform/reportlist.h"
#include "platform/systemicons.h"
#include "platform/viewhost.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QSplitter>
#include <QTableView>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

QString noLyric()
{
    return QStringLiteral("\nNo Lyric Available");
}

} // namespace

TfraMedia::TfraMedia(ViewHost& host, std::unique_ptr<AudioPlayer> player, QWidget* parent)
    : ViewFrame(parent), m_host(host), m_player(std::move(player))
{
    m_model = new MediaListModel(
        [](int index) { return QVariant(SystemIcons::shared().icon(index)); }, this);

    lvwMedia = new QTableView(this);
    lvwMedia->setObjectName(QStringLiteral("lvwMedia"));
    lvwMedia->setModel(m_model);
    ConfigureReportList(lvwMedia, {20, 200, 100, 150, 75, 50, 75, 75, 75});
    connect(lvwMedia->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TfraMedia::lvwMediaColumnClick);
    connect(lvwMedia, &QTableView::doubleClicked, this, [this] { ToolCommand(0); });
    connect(lvwMedia->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TfraMedia::UpdateDetails);

    pnlMediaDetails = new QWidget(this);
    imgCover = new QLabel(pnlMediaDetails);
    imgCover->setFixedSize(200, 200);
    imgCover->setScaledContents(true);
    imgCover->setPixmap(Artwork::defaultCover(200));
    memLyric = new QTextEdit(pnlMediaDetails);
    memLyric->setReadOnly(true);
    memLyric->setAlignment(Qt::AlignCenter);
    QFont bold = memLyric->font();
    bold.setBold(true);
    memLyric->setFont(bold);
    memLyric->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ShowNoLyric();
    auto* details = new QHBoxLayout(pnlMediaDetails);
    details->setContentsMargins(0, 0, 0, 0);
    details->setSpacing(3);
    details->addWidget(imgCover, 0, Qt::AlignTop);
    details->addWidget(memLyric, 1);

    splMedia = new QSplitter(Qt::Vertical, this);
    splMedia->setChildrenCollapsible(false);
    splMedia->setHandleWidth(3);
    splMedia->addWidget(lvwMedia);
    splMedia->addWidget(pnlMediaDetails);
    lvwMedia->setMinimumHeight(100);
    pnlMediaDetails->setMinimumHeight(60);
    splMedia->setStretchFactor(0, 1);
    splMedia->setStretchFactor(1, 0);
    splMedia->setSizes({400, 203});

    wmpPlayer = new TPlayerBar(*m_player, this);
    wmpPlayer->setFixedHeight(45);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(splMedia, 1);
    layout->addWidget(wmpPlayer);

    popMedia = new QMenu(this);
    const char* const captions[] = {"Play", "Rename...", "Edit Details...", "Delete", "Locate...",
                                    "Refresh"};
    for (int command = 0; command < 6; ++command) {
        if (command == 1 || command == 3 || command == 4)
            popMedia->addSeparator();
        m_popItems[command] = popMedia->addAction(QString::fromLatin1(captions[command]));
        connect(m_popItems[command], &QAction::triggered, this,
                [this, command] { ToolCommand(command); });
    }
    connect(lvwMedia, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        popMediaPopup();
        popMedia->popup(lvwMedia->viewport()->mapToGlobal(at));
    });

    m_playStates[0] = Artwork::glyph(Artwork::Glyph::Play);
    m_playStates[1] = Artwork::glyph(Artwork::Glyph::Stop);
    tmrPlay.setInterval(1000);
    tmrPlay.setSingleShot(true);
    connect(&tmrPlay, &QTimer::timeout, this, &TfraMedia::tmrPlayTimer);
    connect(m_player.get(), &AudioPlayer::ended, this, &TfraMedia::wmpPlayerEnded);
}

TfraMedia::~TfraMedia() = default;

void TfraMedia::Initialize()
{
    PlayList.Clear();
    PlayList.Rewind();
    try {
        m_db.OpenDatabase(m_host.AppPath() + QStringLiteral("/Data/MyMedia.edb"));
    } catch (const MediaDBError& error) {
        // Without its database the view still shows and plays; library changes fail.
        qWarning("Tavrin: the music library cannot be opened: %s", error.what());
    }
}

void TfraMedia::Finalize()
{
    m_player->stop();
}

void TfraMedia::SetMusicFolder(const QString& folder)
{
    if (folder != m_musicFolder)
        ScanFolder(folder);
}

void TfraMedia::ScanFolder(const QString& folder)
{
    m_musicFolder = folder;
    MediaLibrary(m_db).ScanFolder(folder, [] {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    LoadList();
}

void TfraMedia::LoadList()
{
    std::vector<MediaRow> rows;
    const std::vector<MediaRecord> records = m_db.SelectAllMedia();
    rows.reserve(records.size());
    for (const MediaRecord& r : records)
        rows.push_back({r.fTitle, r.fArtist, r.fAlbum, r.fGenre, r.fYear, r.fQuality, r.fSeconds,
                        r.fFileSize, r.fDirectory, r.fFileName, SystemIcons::shared().IconIndexForName(r.fFileName)});
    m_model->setRows(std::move(rows));
    setStatusText();
}

void TfraMedia::AddListItem(const MediaRecord& r)
{
    m_model->append({r.fTitle, r.fArtist, r.fAlbum, r.fGenre, r.fYear, r.fQuality, r.fSeconds,
                     r.fFileSize, r.fDirectory, r.fFileName, SystemIcons::shared().IconIndexForName(r.fFileName)});
}

void TfraMedia::setStatusText()
{
    m_host.SetStatusText(3, QStringLiteral(" Music Files: %1").arg(m_model->rowCount()));
}

void TfraMedia::AddDownloadedFile(const QString& fileName, int32_t fileSize)
{
    // The name comes from another peer: only a plain name inside the music folder is taken.
    static const QRegularExpression unsafe(QStringLiteral("[/\\\\\\x00-\\x1f\\x7f]"));
    if (fileName.isEmpty() || fileName.startsWith(QLatin1Char('.')) || fileName.contains(unsafe)) {
        qWarning("Tavrin: a download with an unsafe file name was not added to the library");
        return;
    }
    MediaRecord record = MediaLibrary::ReadRecord(m_musicFolder, fileName, fileSize);
    m_db.DeleteMedia(m_musicFolder, fileName);
    m_db.AddMedia(record);
    AddListItem(record);
    setStatusText();
}

void TfraMedia::lvwMediaColumnClick(int column)
{
    m_model->columnClicked(column);
}

QList<int> TfraMedia::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex& index : lvwMedia->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TfraMedia::UpdateDetails()
{
    const QString covers = m_host.AppPath() + QStringLiteral("/Covers/");
    const QList<int> rows = selectedRows();
    if (rows.size() != 1) {
        ShowCover(covers + QStringLiteral("defaultcover.jpg"));
        ShowNoLyric();
        return;
    }
    const MediaRow& row = m_model->at(rows.front());
    ShowCover(covers + row.artist + QStringLiteral(" - ") + row.album + QStringLiteral(".jpg"));
    ShowLyric(m_host.AppPath() + QStringLiteral("/Lyrics/") + row.artist + QStringLiteral(" - ") +
              row.title + QStringLiteral(".txt"));
}

void TfraMedia::ShowCover(const QString& path)
{
    QString file = path;
    if (!QFile::exists(file))
        file = m_host.AppPath() + QStringLiteral("/Covers/defaultcover.jpg");
    if (!QFile::exists(file))
        return;
    const QImage picture = LoadJpegFile(file);
    if (!picture.isNull())
        imgCover->setPixmap(QPixmap::fromImage(picture));
}

void TfraMedia::ShowNoLyric()
{
    memLyric->setPlainText(noLyric());
    memLyric->selectAll();
    memLyric->setAlignment(Qt::AlignCenter);
    memLyric->moveCursor(QTextCursor::Start);
}

void TfraMedia::ShowLyric(const QString& path)
{
    if (!QFile::exists(path)) {
        ShowNoLyric();
        return;
    }
    QStringList lines = QString::fromUtf8(TFileUtils::LoadFileText(path))
                            .split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    for (QString& line : lines)
        line = TStringUtils::TrimControls(line);
    const QString text = TStringUtils::TrimControls(lines.join(QLatin1Char('\n')));
    memLyric->setPlainText(QLatin1Char('\n') + FileTitle(path) + QStringLiteral("\n\n") + text);
    memLyric->selectAll();
    memLyric->setAlignment(Qt::AlignCenter);
    memLyric->moveCursor(QTextCursor::Start);
}

void TfraMedia::popMediaPopup()
{
    const qsizetype selected = selectedRows().size();
    m_popItems[0]->setEnabled(selected >= 1);
    m_popItems[3]->setEnabled(selected >= 1);
    m_popItems[1]->setEnabled(selected == 1);
    m_popItems[2]->setEnabled(selected == 1);
}
