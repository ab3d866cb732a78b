// bench_transfers: download speed and the bandwidth limit on 127.0.0.1.
// 1. One tavrin-peer source: the engine's download against curl fetching the same file.
// 2. Sources limited to the same rate: two at once against one.
// 3. The bandwidth limit: the average rate over 20 seconds against the limit set.

#include "gnutella/protocol/base32.h"
#include "gnutella/transfer/downloadmanager.h"
#include "gnutella/transfer/httphead.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <cstdio>

namespace {

using namespace gnutella;

// Sleeps in the event loop (a busy loop would take a core from the source being measured).
void waitUntil(const std::function<bool()>& done, int milliseconds)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    check.start(1);
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    if (!done())
        loop.exec();
}

// A server that hands out the descriptors of new connections instead of sockets.
class DescriptorServer final : public QTcpServer {
public:
    bool pending() const { return !m_descriptors.empty(); }
    qintptr take()
    {
        const qintptr d = m_descriptors.front();
        m_descriptors.erase(m_descriptors.begin());
        return d;
    }

protected:
    void incomingConnection(qintptr descriptor) override
    {
        m_descriptors.push_back(descriptor);
    }

private:
    std::vector<qintptr> m_descriptors;
};

// A source on its own thread that answers range requests at a fixed rate per connection.
class PacedSource final {
public:
    PacedSource(QByteArray data, qint64 bytesPerSecond) : m_data(std::move(data)), m_rate(bytesPerSecond)
    {
        m_thread = std::thread([this] { run(); });
        while (m_port == 0)
            QThread::msleep(5);
    }
    ~PacedSource()
    {
        m_stop = true;
        m_thread.join();
    }
    quint16 port() const { return m_port; }

private:
    void run()
    {
        DescriptorServer server;
        server.listen(QHostAddress::LocalHost, 0);
        m_port = server.serverPort();
        std::vector<std::thread> connections;
        while (!m_stop) {
            if (!server.waitForNewConnection(50))
                continue;
            while (server.pending()) {
                const qintptr descriptor = server.take();
                connections.emplace_back([this, descriptor] {
                    // Each connection's socket is made on the thread that serves it.
                    auto* socket = new QTcpSocket;
                    socket->setSocketDescriptor(descriptor);
                    serve(socket);
                });
            }
        }
        for (auto& t : connections)
            t.join();
    }
    void serve(QTcpSocket* socket)
    {
        while (!m_stop && socket->state() == QAbstractSocket::ConnectedState) {
            HttpHeadReader reader;
            HttpHead head;
            QByteArray rest;
            HttpHeadReader::Result result = HttpHeadReader::Result::NeedMore;
            while (!m_stop && result == HttpHeadReader::Result::NeedMore && socket->waitForReadyRead(100))
                result = reader.feed(socket->readAll(), head, rest);
            if (result != HttpHeadReader::Result::Complete)
                continue;
            const auto range = ParseRange(head.header("Range"), m_data.size());
            if (!range)
                break;
            socket->write("HTTP/1.1 206 Partial Content\r\nContent-Length: " + QByteArray::number(range->length()) +
                          "\r\nContent-Range: bytes " + QByteArray::number(range->first) + '-' +
                          QByteArray::number(range->last) + '/' + QByteArray::number(m_data.size()) + "\r\n\r\n");
            QElapsedTimer clock;
            clock.start();
            qint64 sent = 0;
            while (sent < range->length() && !m_stop) {
                const qint64 due = clock.elapsed() * m_rate / 1000 - sent;
                if (due <= 0) {
                    QThread::msleep(5);
                    continue;
                }
                const qint64 piece = std::min<qint64>(due, range->length() - sent);
                socket->write(m_data.mid(range->first + sent, piece));
                socket->waitForBytesWritten(100);
                sent += piece;
            }
        }
        socket->close();
        delete socket;
    }

    QByteArray m_data;
    qint64 m_rate;
    std::atomic<bool> m_stop{false};
    std::atomic<quint16> m_port{0};
    std::thread m_thread;
};

QByteArray urnOf(const QByteArray& bytes)
{
    return "urn:sha1:" + Base32Encode(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1));
}

struct Timing {
    double held = 0;     // seconds until every byte was on disk
    double complete = 0; // seconds until the file was checked and moved to the music folder
};

// Downloads one transfer to completion.
Timing download(const QByteArray& data, const std::vector<quint16>& ports, double limitKb = 0, int32_t id = 1)
{
    QTemporaryDir partials, music;
    DownloadManager manager;
    manager.setFolders(partials.path(), music.path());
    manager.setLimits(30, limitKb);
    Transfer t;
    t.id = id;
    t.name = QStringLiteral("bench.mp3");
    t.size = data.size();
    t.urn = urnOf(data);
    for (quint16 port : ports)
        t.sources.push_back({HostAddress{(127u << 24) | 1u, port}, 1, QStringLiteral("bench.mp3")});
    bool complete = false;
    Timing timing;
    QElapsedTimer clock;
    QObject::connect(&manager, &DownloadManager::changed, [&](const TransferFigures& f) {
        if (f.received == f.size && timing.held == 0)
            timing.held = clock.nsecsElapsed() / 1e9;
        complete = complete || f.state == Transfer::Complete;
    });
    clock.start();
    manager.add(t);
    waitUntil([&] { return complete; }, 600000);
    timing.complete = clock.nsecsElapsed() / 1e9;
    return timing;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QString bin = QCoreApplication::applicationDirPath() + QStringLiteral("/..");

    // 1. Against curl, one tavrin-peer source.
    QTemporaryDir share;
    QByteArray big(64 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < big.size(); i += 4096)
        big[i] = char(i / 4096);
    {
        QFile file(share.filePath(QStringLiteral("Bench - File.mp3")));
        file.open(QIODevice::WriteOnly);
        file.write(big);
    }
    QProcess peer;
    peer.start(bin + QStringLiteral("/tavrin-peer"),
               {"--ultrapeer", "--listen", "127.0.0.1:0", "--share", share.path()});
    peer.waitForReadyRead(30000);
    const quint16 port = quint16(QJsonDocument::fromJson(peer.readLine()).object().value("port").toInt());
    const QByteArray urn = urnOf(big);
    // curl's own timer (connection included, its start-up not) against the engine's, whose
    // clock starts when the download is added; curl once storing the file as a download does and
    // once throwing it away.
    const auto curlSeconds = [&](const QString& output) {
        QProcess curl;
        curl.start(QStringLiteral("curl"), {"-s", "-o", output, "-w", "%{time_total}",
                                            QStringLiteral("http://127.0.0.1:%1/uri-res/N2R?%2").arg(port).arg(QString::fromLatin1(urn))});
        curl.waitForFinished(120000);
        return curl.readAllStandardOutput().toDouble();
    };
    QTemporaryDir curlFolder;
    Timing best{1e9, 1e9};
    double curlFile = 1e9;
    double curlNull = 1e9;
    for (int round = 0; round < 5; ++round) {
        const Timing timing = download(big, {port});
        best.held = std::min(best.held, timing.held);
        best.complete = std::min(best.complete, timing.complete);
        curlFile = std::min(curlFile, curlSeconds(curlFolder.filePath(QStringLiteral("round%1.mp3").arg(round))));
        curlNull = std::min(curlNull, curlSeconds(QStringLiteral("/dev/null")));
    }
    const double mb = big.size() / 1048576.0;
    std::printf("one source, 64 MiB, best of 5: curl to a file %.0f MiB/s, to /dev/null %.0f MiB/s\n", mb / curlFile,
                mb / curlNull);
    std::printf("  tavrin, all bytes on disk: %.0f MiB/s: %.2f of curl to a file, %.2f of curl to /dev/null\n",
                mb / best.held, curlFile / best.held, curlNull / best.held);
    std::printf("  tavrin, checked against its SHA-1 and moved: %.0f MiB/s: %.2f of curl to a file, %.2f of curl to /dev/null\n",
                mb / best.complete, curlFile / best.complete, curlNull / best.complete);
    peer.terminate();
    peer.waitForFinished(3000);

    // 2. Two sources at 2 MiB/s each against one.
    const QByteArray medium = big.left(16 * 1024 * 1024);
    PacedSource slowA(medium, 2 * 1024 * 1024);
    PacedSource slowB(medium, 2 * 1024 * 1024);
    const double single = download(medium, {slowA.port()}).complete;
    const double pair = download(medium, {slowA.port(), slowB.port()}, 0, 2).complete;
    std::printf("16 MiB from sources paced at 2 MiB/s: one %.2f s, two %.2f s: %.2fx\n", single, pair,
                single / pair);

    // 3. The bandwidth limit over about 20 seconds, from an unpaced source.
    const double limitKb = 512;
    const QByteArray twenty = big.left(qsizetype(limitKb * 1024 * 20));
    PacedSource fast(twenty, 200 * 1024 * 1024);
    const double seconds = download(twenty, {fast.port()}, limitKb, 3).complete;
    const double rate = twenty.size() / seconds / 1024;
    std::printf("limit %.0f KB/s: %.0f KB/s over %.1f s (%.1f%% off)\n", limitKb, rate, seconds,
                (rate - limitKb) / limitKb * 100);
    return 0;
}
