#include "downloads/fradownloads.h"

#include "common/formatting.h"
#include "common/mediatypes.h"
#include "downloads/progressdelegate.h"
#include "platform/dialogs.h"
#include "platform/reportlist.h"
#include "platform/downloadshost.h"
#include "settings/options.h"

#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kPending = QStringLiteral("Pending");
const QString kReceiving = QStringLiteral("Receiving");
const QString kPaused = QStringLiteral("Paused");
const QString kComplete = QStringLiteral("Complete");
const QString kCancelled = QStringLiteral("Cancelled");

} // namespace

TfraDownloads::TfraDownloads(DownloadsHost& host, TOptions& options, QWidget* parent)
    : ViewFrame(parent), m_host(host), m_options(options)
{
    m_model = new DownloadsModel(this);
    lvwDownloads = new QTableView(this);
    lvwDownloads->setObjectName(QStringLiteral("lvwDownloads"));
    lvwDownloads->setModel(m_model);
    lvwDownloads->setItemDelegateForColumn(DownloadsModel::ProgressColumn,
                                           new ProgressDelegate(ListHasFocus, lvwDownloads));
    ConfigureReportList(lvwDownloads, {200, 75, 75, 75, 75, 75, 75, 75});
    lvwDownloads->installEventFilter(this);
    connect(lvwDownloads->horizontalHeader(), &QHeaderView::sectionClicked, m_model,
            &DownloadsModel::columnClicked);
    connect(lvwDownloads, &QTableView::doubleClicked, this, &TfraDownloads::PreviewSelected);

    popDownloads = new QMenu(this);
    const auto item = [this](const char* caption, auto action) {
        QAction* added = popDownloads->addAction(QString::fromLatin1(caption));
        connect(added, &QAction::triggered, this, action);
        return added;
    };
    mnuPopDownloadsPreview = item("Preview...", [this] { PreviewSelected(); });
    popDownloads->addSeparator();
    mnuPopDownloadsPause = item("Pause", [this] { PauseDownloads(true); });
    mnuPopDownloadsResume = item("Resume", [this] { ResumeDownloads(true); });
    mnuPopDownloadsCancel = item("Cancel", [this] { CancelDownloads(true); });
    popDownloads->addSeparator();
    mnuPopDownloadsFindMoreSources = item("Find More Hosts", [this] { FindMoreHosts(); });
    popDownloads->addSeparator();
    mnuPopDownloadsPauseAll = item("Pause All", [this] { PauseDownloads(false); });
    mnuPopDownloadsResumeAll = item("Resume All", [this] { ResumeDownloads(false); });
    mnuPopDownloadsCancelAll = item("Cancel All", [this] { CancelDownloads(false); });
    popDownloads->addSeparator();
    mnuPopDownloadsClearCompleted =
        item("Clear Completed and Cancelled", [this] { ClearCompletedAndCancelled(); });
    connect(lvwDownloads, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        popDownloadsPopup();
        popDownloads->popup(lvwDownloads->viewport()->mapToGlobal(at));
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lvwDownloads);
}

void TfraDownloads::Initialize() {}

void TfraDownloads::Finalize() {}

void TfraDownloads::ToolCommand(int number)
{
    switch (number) {
    case 0: PreviewSelected(); break;
    case 1: FindMoreHosts(); break;
    case 2: ClearCompletedAndCancelled(); break;
    default: break;
    }
}

bool TfraDownloads::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lvwDownloads &&
        (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
        ListHasFocus = event->type() == QEvent::FocusIn;
        lvwDownloads->viewport()->update();
    }
    return ViewFrame::eventFilter(watched, event);
}

void TfraDownloads::setStatusText()
{
    m_host.SetStatusText(2, QStringLiteral(" Downloads: %1").arg(m_model->rowCount()));
}

void TfraDownloads::setRow(int row, const std::function<void(DownloadRow&)>& change)
{
    DownloadRow value = m_model->at(row);
    change(value);
    m_model->replace(row, value);
}

void TfraDownloads::AddDownload(int32_t downloadId, const QString& fileName, int32_t fileSize,
                                int32_t received)
{
    m_model->append({fileName, fileSize, received, kPending, QString(), QString(), QString(),
                     DownloadsModel::ProgressOf(received, fileSize), downloadId});
    setStatusText();
}

void TfraDownloads::UpdateDownload(int32_t downloadId, int32_t received, int32_t secondsLeft,
                                   int32_t rate, int32_t hostsKnown, int32_t hostsActive)
{
    const int row = m_model->find(downloadId);
    if (row < 0)
        return;
    setRow(row, [&](DownloadRow& r) {
        r.received = received;
        r.status = kReceiving;
        r.eta = FormatDuration(secondsLeft);
        r.speed = DownloadsModel::SpeedText(rate);
        r.hosts = QStringLiteral("%1 of %2").arg(hostsActive).arg(hostsKnown);
        r.progress = DownloadsModel::ProgressOf(received, r.size);
    });
}

void TfraDownloads::DownloadComplete(int32_t downloadId)
{
    const int row = m_model->find(downloadId);
    if (row >= 0)
        setRow(row, [](DownloadRow& r) {
            r.received = r.size;
            r.status = kComplete;
            r.eta.clear();
            r.speed.clear();
            r.hosts.clear();
            r.progress = 100;
        });
    if (m_options.ClearCompleted)
        ClearCompletedAndCancelled();
}

void TfraDownloads::ClearCompletedAndCancelled()
{
    std::vector<DownloadRow> kept;
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (m_model->at(row).status != kComplete && m_model->at(row).status != kCancelled)
            kept.push_back(m_model->at(row));
    // One reset: the list is redrawn once, however many rows go.
    if (int(kept.size()) != m_model->rowCount())
        m_model->setRows(std::move(kept));
    setStatusText();
}

QList<int> TfraDownloads::rowsFor(bool selectedOnly) const
{
    QList<int> rows;
    const QItemSelectionModel* selection = lvwDownloads->selectionModel();
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (!selectedOnly || selection->isRowSelected(row, {}))
            rows << row;
    return rows;
}

void TfraDownloads::PreviewSelected()
{
    const QList<int> rows = rowsFor(true);
    if (rows.size() != 1) {
        Dialogs::instance().information(this, QStringLiteral("Information"),
                                        QStringLiteral("Please select a download to preview."));
        return;
    }
    const DownloadRow& row = m_model->at(rows.front());
    if (MediaTypeOf(row.fileName) != QStringLiteral("Audio"))
        return;
    m_host.PreviewDownload(row.downloadId);
}

void TfraDownloads::PauseDownloads(bool selectedOnly)
{
    for (int row : rowsFor(selectedOnly)) {
        const QString status = m_model->at(row).status;
        if (status != kPending && status != kReceiving)
            continue;
        setRow(row, [](DownloadRow& r) {
            r.status = kPaused;
            r.eta.clear();
            r.speed.clear();
            r.hosts.clear();
        });
        m_host.DownloadPause(m_model->at(row).downloadId);
    }
}

void TfraDownloads::ResumeDownloads(bool selectedOnly)
{
    for (int row : rowsFor(selectedOnly)) {
        if (m_model->at(row).status != kPaused)
            continue;
        setRow(row, [](DownloadRow& r) { r.status = kPending; });
        m_host.DownloadResume(m_model->at(row).downloadId);
    }
}

bool TfraDownloads::ConfirmCancel(bool selectedOnly)
{
    QString text = QStringLiteral("Do you really want to cancel all downloads ?");
    if (selectedOnly) {
        const QList<int> rows = rowsFor(true);
        text = rows.size() == 1 ? QStringLiteral("Do you really want to cancel\r\n%1 ?")
                                      .arg(m_model->at(rows.front()).fileName)
                                : QStringLiteral("Do you really want to cancel the selected downloads ?");
    }
    ListHasFocus = false;
    const bool yes = Dialogs::instance().confirm(this, QStringLiteral("Confirm Action"), text);
    ListHasFocus = true;
    lvwDownloads->viewport()->update();
    return yes;
}

void TfraDownloads::CancelDownloads(bool selectedOnly)
{
    if (!ConfirmCancel(selectedOnly))
        return;
    for (int row : rowsFor(selectedOnly)) {
        const QString status = m_model->at(row).status;
        if (status == kComplete || status == kCancelled)
            continue;
        setRow(row, [](DownloadRow& r) {
            r.status = kCancelled;
            r.eta.clear();
            r.speed.clear();
            r.hosts.clear();
        });
        const int32_t id = m_model->at(row).downloadId;
        m_host.DownloadPause(id);
        m_host.DownloadRemove(id);
    }
    if (m_options.ClearCompleted)
        ClearCompletedAndCancelled();
}

void TfraDownloads::FindMoreHosts()
{
    for (int row : rowsFor(true)) {
        const QString status = m_model->at(row).status;
        if (status == kPending || status == kReceiving)
            m_host.DownloadFindMoreHosts(m_model->at(row).downloadId);
    }
}

void TfraDownloads::popDownloadsPopup()
{
    const qsizetype selected = rowsFor(true).size();
    const bool any = m_model->rowCount() > 0;
    mnuPopDownloadsPreview->setEnabled(selected == 1);
    for (QAction* action : {mnuPopDownloadsPause, mnuPopDownloadsResume, mnuPopDownloadsCancel,
                            mnuPopDownloadsFindMoreSources})
        action->setEnabled(selected >= 1);
    for (QAction* action : {mnuPopDownloadsPauseAll, mnuPopDownloadsResumeAll,
                            mnuPopDownloadsCancelAll, mnuPopDownloadsClearCompleted})
        action->setEnabled(any);
}
