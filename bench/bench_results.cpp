// bench_results [COUNT]: feeds COUNT search results (a fifth of them refused by the name
// filters) through the Search view into a shown list that already holds rows, and reports
// results per second, the longest single result (the longest the event loop waits), the memory
// the rows add, and the time to sort them by Hosts and by Title.

#include "platform/searchhost.h"
#include "search/frasearch.h"
#include "settings/options.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <cstdio>
#include <unistd.h>

namespace {

class BenchHost final : public SearchHost {
public:
    QString AppPath() const override { return QStringLiteral("/nonexistent"); }
    void SetStatusText(int, const QString&) override {}
    void SetCaption(const QString&) override {}
    QAbstractButton* PlayButton() override { return nullptr; }
    int32_t SearchStart(const QString&) override { return 1; }
    void SearchEnd(int32_t) override {}
    void SearchStop(int32_t) override {}
    void SearchContinue(int32_t) override {}
    void StartDownload(int32_t, int32_t) override {}
    void ShowLegalNoticeDialog() override {}
};

double residentMegabytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * double(sysconf(_SC_PAGESIZE)) / (1024 * 1024) : 0;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    BenchHost host;
    TOptions options(QStringLiteral("/nonexistent"));
    options.UseSearchHistory = false;
    TfraSearch view(host, options);
    view.resize(900, 600);
    view.show();
    view.NetworkConnected();
    view.cmbKeywords->setEditText(QStringLiteral("music"));
    view.StartSearch();
    for (int i = 0; i < 1000; ++i)
        view.ResultReceived(1, i, QStringLiteral("Warm Up %1 - Song.mp3").arg(i), 4000000, i % 60);
    QApplication::processEvents();

    // The names are made before the clock starts.
    QStringList names;
    names.reserve(count);
    for (int i = 0; i < count; ++i)
        names << (i % 5 == 4 ? QStringLiteral("Refused name without dash %1.mp3").arg(i)
                             : QStringLiteral("Artist_%1_-_Title_%2.mp3").arg(i % 997).arg(i));
    const double memoryBefore = residentMegabytes();
    double longest = 0;
    // A zero timer runs whenever the event loop gets a turn: the longest gap between two of its
    // runs is the longest the window waited.
    double longestStall = 0;
    QElapsedTimer sinceTurn;
    sinceTurn.start();
    QTimer turns;
    turns.setInterval(0);
    QObject::connect(&turns, &QTimer::timeout, [&] {
        longestStall = std::max(longestStall, sinceTurn.nsecsElapsed() / 1e6);
        sinceTurn.start();
    });
    turns.start();
    QElapsedTimer total;
    total.start();
    QElapsedTimer one;
    for (int i = 0; i < count; ++i) {
        one.start();
        view.ResultReceived(1, 1000 + i, names[i], 3000000 + i, i % 73);
        longest = std::max(longest, one.nsecsElapsed() / 1e6);
    }
    const double seconds = total.nsecsElapsed() / 1e9;
    turns.stop();
    QApplication::processEvents();
    const int added = view.results().rowCount() - 1000;
    const double memoryAdded = residentMegabytes() - memoryBefore;

    QElapsedTimer sort;
    sort.start();
    view.results().columnClicked(ResultsModel::HostsColumn);
    const double hostsSort = sort.nsecsElapsed() / 1e6;
    sort.restart();
    view.results().columnClicked(ResultsModel::TitleColumn);
    const double titleSort = sort.nsecsElapsed() / 1e6;

    std::printf("results fed: %d (%d kept), %.0f results/s\n", count, added, count / seconds);
    std::printf("longest single result: %.1f ms; longest the event loop waited: %.1f ms\n",
                longest, longestStall);
    std::printf("memory added: %.1f MB for %d rows (%.1f MB per 100,000)\n", memoryAdded, added,
                memoryAdded * 100000.0 / std::max(added, 1));
    std::printf("sort %d rows by Hosts: %.0f ms, by Title: %.0f ms\n", view.results().rowCount(),
                hostsSort, titleSort);
    return 0;
}
