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

// Downloads one transfer to completion; returns the seconds it took.
double download(const QByteArray& data, const std::vector<quint16>& ports, double limitKb = 0,
                int32_t id = 1)
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
    QObject::connect(&manager, &DownloadManager::changed, [&](const TransferFigures& f) {
        complete = complete || f.state == Transfer::Complete;
    });
    QElapsedTimer clock;
    clock.start();
    manager.add(t);
    waitUntil([&] { return complete; }, 600000);
    return clock.nsecsElapsed() / 1e9;
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
    double best = 1e9;
    double curlBest = 1e9;
    for (int round = 0; round < 3; ++round) {
        best = std::min(best, download(big, {port}));
        QElapsedTimer clock;
        clock.start();
        QProcess curl;
        curl.start(QStringLiteral("curl"), {"-s", "-o", "/dev/null",
                                            QStringLiteral("http://127.0.0.1:%1/uri-res/N2R?%2").arg(port).arg(QString::fromLatin1(urn))});
        curl.waitForFinished(120000);
        curlBest = std::min(curlBest, clock.nsecsElapsed() / 1e9);
    }
    const double mb = big.size() / 1048576.0;
    std::printf("one source, 64 MiB: tavrin %.0f MiB/s, curl %.0f MiB/s: %.2f of curl\n", mb / best,
                mb / curlBest, curlBest / best);
    // The download checks the whole file's SHA-1 before it counts as complete; curl checks nothing.
    QElapsedTimer hashClock;
    hashClock.start();
    urnOf(big);
    const double hashSeconds = hashClock.nsecsElapsed() / 1e9;
    std::printf("  of which the SHA-1 check %.0f ms; the transfer alone %.2f of curl\n", hashSeconds * 1000,
                curlBest / (best - hashSeconds));
    peer.terminate();
    peer.waitForFinished(3000);

    // 2. Two sources at 2 MiB/s each against one.
    const QByteArray medium = big.left(16 * 1024 * 1024);
    PacedSource slowA(medium, 2 * 1024 * 1024);
    PacedSource slowB(medium, 2 * 1024 * 1024);
    const double single = download(medium, {slowA.port()});
    const double pair = download(medium, {slowA.port(), slowB.port()}, 0, 2);
    std::printf("16 MiB from sources paced at 2 MiB/s: one %.2f s, two %.2f s: %.2fx\n", single, pair,
                single / pair);

    // 3. The bandwidth limit over about 20 seconds, from an unpaced source.
    const double limitKb = 512;
    const QByteArray twenty = big.left(qsizetype(limitKb * 1024 * 20));
    PacedSource fast(twenty, 200 * 1024 * 1024);
    const double seconds = download(twenty, {fast.port()}, limitKb, 3);
    const double rate = twenty.size() / seconds / 1024;
    std::printf("limit %.0f KB/s: %.0f KB/s over %.1f s (%.1f%% off)\n", limitKb, rate, seconds,
                (rate - limitKb) / limitKb * 100);
    return 0;
}
