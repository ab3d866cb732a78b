// The Search view's results: which results are kept, how they are shown and updated, and how
// they are sent to download.

#include "common/formatting.h"
#include "common/mediatypes.h"
#include "common/stringutils.h"
#include "common/textcompare.h"
#include "platform/searchhost.h"
#include "platform/systemicons.h"
#include "search/frasearch.h"
#include "settings/options.h"

#include <QCoreApplication>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QCheckBox>
#include <QTableView>

namespace {

constexpr int kMaxNameLength = 128;
constexpr int32_t kMinSize = 102400;
constexpr int kEventsEveryMilliseconds = 15;

bool contains(const QString& text, const QString& part)
{
    return !part.isEmpty() && LowerAscii(text).contains(LowerAscii(part));
}

} // namespace

std::pair<QString, QString> TfraSearch::SplitArtistTitle(const QString& name)
{
    const QString base = FileTitle(name);
    if (base.count(QLatin1Char('-')) != 1)
        return {QString(), base};
    const QString dash = QStringLiteral("-");
    return {TStringUtils::TrimControls(TStringUtils::GetToken(base, dash, 1)),
            TStringUtils::TrimControls(TStringUtils::GetToken(base, dash, 2))};
}

bool TfraSearch::acceptResult(const QString& artist, const QString& title) const
{
    if (artist.isEmpty())
        return false;
    switch (SearchMode) {
    case 1:
        return chkMatchArtist->isChecked() ? LowerAscii(artist) == LowerAscii(ArtistFilter)
                                           : contains(artist, ArtistFilter);
    case 2:
        return chkMatchSong->isChecked()
                   ? LowerAscii(artist) == LowerAscii(ArtistFilter) && LowerAscii(title) == LowerAscii(TitleFilter)
                   : contains(title, TitleFilter);
    default:
        return true;
    }
}

void TfraSearch::ResultReceived(int32_t searchId, int32_t resultId, const QString& fileName,
                                int32_t fileSize, int32_t hosts)
{
    if (cmdSearch->text() != QStringLiteral("Stop Search"))
        return;
    if (fileName.size() > kMaxNameLength || fileSize < kMinSize ||
        MediaTypeOf(fileName) != QStringLiteral("Audio"))
        return;
    QString name = fileName;
    name.replace(QLatin1Char('_'), QLatin1Char(' '));
    const auto [artist, title] = SplitArtistTitle(name);
    if (acceptResult(artist, title)) {
        m_results->append({name, title, artist, hosts, fileSize, QString(), searchId, resultId,
                           SystemIcons::shared().IconIndexForName(name)});
        m_host.SetStatusText(1, QStringLiteral(" Search Results: %1").arg(m_results->rowCount()));
    }
    // A flood of results must not freeze the window, nor repaint it for every single result:
    // pending events run at most every few milliseconds.
    if (!m_sinceEvents.isValid() || m_sinceEvents.elapsed() >= kEventsEveryMilliseconds) {
        QCoreApplication::processEvents();
        m_sinceEvents.start();
    }
}

void TfraSearch::ResultUpdated(int32_t searchId, int32_t resultId, int32_t hosts)
{
    if (cmdSearch->text() != QStringLiteral("Stop Search"))
        return;
    const int row = m_results->find(searchId, resultId);
    if (row >= 0)
        m_results->setHosts(row, hosts);
}

void TfraSearch::DownloadSelected()
{
    QItemSelectionModel* selection = lvwResults->selectionModel();
    if (selection->hasSelection() && m_options.ShowLegalNotice)
        m_host.ShowLegalNoticeDialog();
    for (int row = 0; row < m_results->rowCount(); ++row) {
        if (!selection->isRowSelected(row, {}))
            continue;
        m_results->setStatus(row, QStringLiteral("Downloading"));
        const ResultRow& result = m_results->at(row);
        m_host.StartDownload(result.searchId, result.resultId);
    }
    lvwResults->clearSelection();
}
