// bench_network: on a local network of three tavrin-peer ultrapeers sharing 5,000 files each,
// the time from Search#1 to the first OnResult and the results per second that arrive through
// the automation events; then the CPU one ultrapeer spends per 1,000 messages it routes.

#include "engine/engineloader.h"
#include "engine/gnucdnaisearchevent.h"
#include "gnutella/net/networkengine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

void waitUntil(const std::function<bool()>& done, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct PeerProcess {
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
    quint16 port = 0;

    PeerProcess(const QString& program, const QString& share, const QStringList& connectTo)
    {
        QStringList arguments{"--ultrapeer", "--listen", "127.0.0.1:0", "--share", share};
        for (const QString& peer : connectTo)
            arguments << "--connect" << peer;
        process->start(program, arguments);
        process->waitForReadyRead(30000);
        port = quint16(QJsonDocument::fromJson(process->readLine()).object().value("port").toInt());
    }
    ~PeerProcess()
    {
        process->terminate();
        process->waitForFinished(3000);
    }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(port); }
    // User plus system CPU seconds so far.
    double cpuSeconds() const
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(process->processId()));
        if (!stat.open(QIODevice::ReadOnly))
            return 0;
        const QList<QByteArray> fields = stat.readAll().split(')').value(1).split(' ');
        // After the command: state is field 1; utime and stime are fields 12 and 13.
        return (fields.value(12).toDouble() + fields.value(13).toDouble()) / double(sysconf(_SC_CLK_TCK));
    }
};

QString makeShare(const QTemporaryDir& root, int node, int files)
{
    const QString folder = root.filePath(QStringLiteral("node%1").arg(node));
    QDir().mkpath(folder);
    for (int i = 0; i < files; ++i) {
        QFile file(QStringLiteral("%1/Band %2 - Track %3.mp3").arg(folder).arg(node).arg(i));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(512, char('a' + (i + node) % 26)) + QByteArray::number(i * 7 + node));
    }
    return folder;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QString bin = QCoreApplication::applicationDirPath() + QStringLiteral("/..");
    const QString program = bin + QStringLiteral("/tavrin-peer");
    QTemporaryDir root;
    const int filesPerNode = 5000;
    PeerProcess first(program, makeShare(root, 1, filesPerNode), {});
    PeerProcess second(program, makeShare(root, 2, filesPerNode), {first.address()});
    PeerProcess third(program, makeShare(root, 3, filesPerNode), {first.address()});
    if (!first.port || !second.port || !third.port) {
        std::fprintf(stderr, "the peers did not start\n");
        return 1;
    }

    // The client's side: the engine library through its automation contract.
    const auto core = LibraryEngineFactory(bin + QStringLiteral("/libtavrin-gnutella.so"))();
    const auto search = core->call(10).toObject();
    TGnucDNAISearchEvent sink(QStringLiteral("dnaSearchEvent"), nullptr);
    int results = 0;
    qint64 firstResultNs = -1;
    QElapsedTimer clock;
    sink.OnResult = [&](auto*, int32_t, int32_t) {
        if (results++ == 0)
            firstResultNs = clock.nsecsElapsed();
    };
    sink.OnPaused = [&](auto*, int32_t id) {
        search->call(7, {id});
        search->call(36, {id});
    };
    sink.ConnectSink(search);
    core->call(100, {first.address()});
    waitUntil([&] { return core->call(5).toObject()->call(15).toInt() == 1; }, 10000);
    clock.start();
    search->call(1, {QStringLiteral("band track")});
    // Each node answers a query with its first 250 matches; the search asks again each time
    // it pauses, so results keep coming until nothing new arrives for a second.
    int seen = -1;
    qint64 lastChange = 0;
    while (clock.elapsed() < 30000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (results != seen) {
            seen = results;
            lastChange = clock.elapsed();
        } else if (clock.elapsed() - lastChange > 1000) {
            break;
        }
    }
    const double seconds = lastChange / 1000.0;
    std::printf("first result after %.1f ms; %d results in %.2f s: %.0f results/s through the events\n",
                firstResultNs / 1e6, results, seconds, results / std::max(seconds, 1e-3));
    sink.DisconnectSink();

    // Routing: a leaf sends queries that match nothing; the first ultrapeer passes each on to
    // the two others.
    gnutella::HostCache cache;
    gnutella::NetworkEngine leaf(cache);
    leaf.connectTo({(127u << 24) | 1u, first.port});
    waitUntil([&] { return leaf.nodeCount() == 1; }, 10000);
    const int queries = 10000;
    const double before = first.cpuSeconds();
    for (int i = 0; i < queries; ++i) {
        leaf.query(QStringLiteral("nothing matches %1").arg(i));
        if (i % 100 == 0)
            QCoreApplication::processEvents();
    }
    waitUntil([] { return false; }, 3000);
    const double used = first.cpuSeconds() - before;
    const int routed = queries * 3; // received once, sent on twice
    std::printf("ultrapeer CPU: %.3f s for %d queries received and passed on (%d messages): %.2f ms "
                "per 1,000 routed messages\n",
                used, queries, routed, used * 1000.0 / (routed / 1000.0));
    return 0;
}
