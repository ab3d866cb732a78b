#include "gnutella/protocol/base32.h"
#include "gnutella/transfer/downloadmanager.h"
#include "gnutella/transfer/httphead.h"
#include "gnutella/transfer/safename.h"
#include "support/testfolder.h"
#include "support/testhttpserver.h"
#include "support/waituntil.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <gtest/gtest.h>
#include <atomic>
#include <csignal>

namespace {

using namespace gnutella;

QByteArray content(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 1000) & 0xFF);
    return bytes;
}

QByteArray urnOf(const QByteArray& bytes)
{
    return "urn:sha1:" + Base32Encode(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1));
}

// The range a request asks for, when it can be served from a file of size.
std::optional<ByteRange> requestedRange(const QByteArray& request, qint64 size)
{
    HttpHeadReader reader;
    HttpHead head;
    QByteArray rest;
    if (reader.feed(request, head, rest) != HttpHeadReader::Result::Complete)
        return std::nullopt;
    return ParseRange(head.header("Range"), size);
}

QByteArray partialHead(const ByteRange& range, qint64 total)
{
    return "HTTP/1.1 206 Partial Content\r\nContent-Length: " + QByteArray::number(range.length()) +
           "\r\nContent-Range: bytes " + QByteArray::number(range.first) + '-' +
           QByteArray::number(range.last) + '/' + QByteArray::number(total) + "\r\n\r\n";
}

// A source that answers one range request a connection, then closes it after delayMs; corrupt
// flips a byte of every answer.
TestHttpServer::Script serving(const QByteArray& data, bool corrupt = false, int delayMs = 0)
{
    return [data, corrupt, delayMs](const QByteArray& request, const auto& write, const auto&) {
        const auto range = requestedRange(request, data.size());
        if (!range)
            return;
        QByteArray body = data.mid(range->first, range->length());
        if (corrupt)
            body[0] = char(body[0] ^ 0x5A);
        write(partialHead(*range, data.size()));
        write(body);
        if (delayMs > 0)
            QThread::msleep(delayMs);
    };
}

TransferSource sourceAt(const TestHttpServer& server)
{
    return {HostAddress{(127u << 24) | 1u, quint16(server.port())}, 1, QStringLiteral("song.mp3")};
}

struct DownloadsTest : ::testing::Test {
    TestFolder partials;
    TestFolder music;
    DownloadManager manager;
    QList<TransferFigures> reports;

    void SetUp() override
    {
        manager.setFolders(partials.path(), music.path());
        QObject::connect(&manager, &DownloadManager::changed,
                         [this](const TransferFigures& f) { reports << f; });
    }
    int lastState() const { return reports.isEmpty() ? -1 : reports.last().state; }
};

// A download of data, known by its urn.
Transfer transferOf(int32_t id, const QString& name, const QByteArray& data,
                    std::vector<TransferSource> sources)
{
    Transfer t;
    t.id = id;
    t.name = name;
    t.size = data.size();
    t.urn = urnOf(data);
    t.sources = std::move(sources);
    return t;
}

// Waits for the last report to say complete; then the music folder holds data under its final name.
void expectDelivered(const QList<TransferFigures>& reports, const TestFolder& music,
                     const QByteArray& data, int milliseconds)
{
    waitUntil([&] { return !reports.isEmpty() && reports.last().state == Transfer::Complete; },
              milliseconds);
    ASSERT_FALSE(reports.isEmpty());
    ASSERT_EQ(reports.last().state, Transfer::Complete);
    QFile done(music.file(reports.last().finalName));
    ASSERT_TRUE(done.open(QIODevice::ReadOnly));
    EXPECT_EQ(done.readAll(), data);
}

TEST_F(DownloadsTest, TwoSourcesDeliverAVerifiedFileUnderASafeName)
{
    const QByteArray data = content(900 * 1024);
    TestHttpServer first(serving(data));
    TestHttpServer second(serving(data));
    music.write(QStringLiteral("Artist - Song.mp3"), "already here");
    const Transfer t = transferOf(7, QStringLiteral("../../Artist - Song.mp3"), data,
                                  {sourceAt(first), sourceAt(second)});
    manager.add(t);
    ASSERT_NO_FATAL_FAILURE(expectDelivered(reports, music, data, 20000));
    EXPECT_EQ(reports.last().finalName, QStringLiteral("Artist - Song (2).mp3")) << "nothing replaced";
    QFile kept(music.file(QStringLiteral("Artist - Song.mp3")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("already here"));
    EXPECT_FALSE(QFile::exists(reports.last().partialPath));
    EXPECT_GT(first.requests().size(), 0);
    EXPECT_GT(second.requests().size(), 0) << "both sources took part";
}

TEST_F(DownloadsTest, WrongBytesNeverReachTheMusicFolder)
{
    const QByteArray data = content(600 * 1024);
    TestHttpServer good(serving(data));
    TestHttpServer bad(serving(data, true));
    const Transfer t = transferOf(8, QStringLiteral("song.mp3"), data,
                                  {sourceAt(bad), sourceAt(good)});
    manager.add(t);
    ASSERT_NO_FATAL_FAILURE(expectDelivered(reports, music, data, 30000));
    EXPECT_EQ(QDir(music.path()).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(reports.last().hostsKnown, 1) << "the bad source is dropped";
}

TEST_F(DownloadsTest, PausedDownloadsResumeAfterARestart)
{
    const QByteArray data = content(2 * 1024 * 1024);
    TestHttpServer source(serving(data, false, 30));
    const Transfer t = transferOf(9, QStringLiteral("long.mp3"), data,
                                  {sourceAt(source)});
    {
        DownloadManager first;
        first.setFolders(partials.path(), music.path());
        first.setLimits(30, 256); // slow enough to stop half way
        first.add(t);
        waitUntil([&] {
            const auto f = first.figures();
            return !f.empty() && f.front().received >= 512 * 1024;
        }, 20000);
        first.pause(9);
    }
    QFile state(partials.file(QStringLiteral("tavrin-downloads.json")));
    ASSERT_TRUE(state.exists());
    DownloadManager second;
    QList<TransferFigures> seen;
    QObject::connect(&second, &DownloadManager::changed, [&](const TransferFigures& f) { seen << f; });
    second.setFolders(partials.path(), music.path());
    const auto kept = second.figures();
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept.front().state, Transfer::Paused);
    EXPECT_GE(kept.front().received, 512 * 1024) << "held chunks are kept";
    second.resume(9);
    ASSERT_NO_FATAL_FAILURE(expectDelivered(seen, music, data, 30000));
}

TEST_F(DownloadsTest, ADownloadKilledMidTransferResumesAndVerifies)
{
    const QByteArray data = content(2 * 1024 * 1024);
    TestHttpServer source(serving(data));
    TestFolder kept; // the partials folder of the killed process and of the next one
    QProcess child;
    child.start(QStringLiteral(DOWNLOAD_CHILD_PROGRAM),
                {kept.path(), music.path(), QString::number(source.port()), QString::fromLatin1(urnOf(data)),
                 QString::number(data.size()), QStringLiteral("512")});
    ASSERT_TRUE(child.waitForStarted(10000));
    qint64 received = 0;
    waitUntil([&] {
        while (child.canReadLine())
            received = child.readLine().trimmed().toLongLong();
        return received >= 768 * 1024;
    }, 20000);
    ASSERT_GE(received, 768 * 1024);
    ::kill(pid_t(child.processId()), SIGKILL);
    child.waitForFinished(5000);

    DownloadManager next;
    QList<TransferFigures> seen;
    QObject::connect(&next, &DownloadManager::changed, [&](const TransferFigures& f) { seen << f; });
    next.setFolders(kept.path(), music.path());
    const auto listed = next.figures();
    ASSERT_EQ(listed.size(), 1u) << "the unfinished download is listed again";
    EXPECT_GT(listed.front().received, 0) << "chunks held before the kill are kept";
    EXPECT_LT(listed.front().received, data.size());
    ASSERT_NO_FATAL_FAILURE(expectDelivered(seen, music, data, 30000));
}

TEST_F(DownloadsTest, AFileWholeButUncheckedAtAStopIsCheckedAtTheNextStart)
{
    // The program stopped after the last chunk was written and before the check.
    const QByteArray data = content(600 * 1024);
    TestFolder kept;
    kept.write(QStringLiteral("16 - song.mp3"), data);
    kept.write(QStringLiteral("tavrin-downloads.json"),
               R"({"version": 1, "downloads": [{"id": 16, "name": "song.mp3", "size": )" +
                   QByteArray::number(data.size()) + R"(, "urn": ")" + urnOf(data) +
                   R"(", "state": 1, "partial": "16 - song.mp3", "held": "Bw==", "sources": []}]})");
    DownloadManager next;
    QList<TransferFigures> seen;
    QObject::connect(&next, &DownloadManager::changed, [&](const TransferFigures& f) { seen << f; });
    next.setFolders(kept.path(), music.path());
    ASSERT_NO_FATAL_FAILURE(expectDelivered(seen, music, data, 10000));
}

TEST_F(DownloadsTest, BusyAndBrokenSourcesGiveWayToGoodOnes)
{
    const QByteArray data = content(700 * 1024);
    TestHttpServer busy([](const QByteArray&, const auto& write, const auto&) {
        write("HTTP/1.1 503 Busy\r\nRetry-After: 60\r\nContent-Length: 0\r\n\r\n");
    });
    // Half a chunk, then the connection drops: a source killed in the middle of a transfer.
    TestHttpServer dying([data](const QByteArray&, const auto& write, const auto&) {
        write("HTTP/1.1 206 Partial Content\r\nContent-Length: 262144\r\nContent-Range: bytes 0-262143/" +
              QByteArray::number(data.size()) + "\r\n\r\n");
        write(data.left(100000));
    });
    TestHttpServer good(serving(data));
    const Transfer t = transferOf(11, QStringLiteral("song.mp3"), data,
                                  {sourceAt(busy), sourceAt(dying), sourceAt(good)});
    manager.add(t);
    ASSERT_NO_FATAL_FAILURE(expectDelivered(reports, music, data, 20000));
    EXPECT_EQ(busy.requests().size(), 1) << "a busy source is not asked again before its time";
}

TEST_F(DownloadsTest, ASourceThatDoesNotKnowTheUrnIsAskedByIndexAndName)
{
    const QByteArray data = content(400 * 1024);
    const auto files = serving(data);
    TestHttpServer byName([files](const QByteArray& request, const auto& write, const auto& stopping) {
        if (request.startsWith("GET /get/1/song%20one.mp3 "))
            files(request, write, stopping);
        else
            write("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n");
    });
    TransferSource source = sourceAt(byName);
    source.name = QStringLiteral("song one.mp3");
    manager.add(transferOf(18, QStringLiteral("song one.mp3"), data, {source}));
    ASSERT_NO_FATAL_FAILURE(expectDelivered(reports, music, data, 20000));
    EXPECT_TRUE(byName.requests().first().startsWith("GET /uri-res/N2R?urn:sha1:")) << "by urn first";
}

TEST_F(DownloadsTest, HostsNamedInXAltBecomeSources)
{
    const QByteArray data = content(900 * 1024);
    TestHttpServer other(serving(data));
    // Answers its first request, naming the other host and a few that are not hosts at all, then
    // is busy for ten minutes.
    std::atomic<int> asked{0};
    const QByteArray alternates = "127.0.0.1:" + QByteArray::number(other.port()) + ", 999.1.1.1:5, x, 127.0.0.1:0";
    TestHttpServer first([&](const QByteArray& request, const auto& write, const auto& stopping) {
        if (asked++ > 0) {
            write("HTTP/1.1 503 Busy\r\nRetry-After: 600\r\nContent-Length: 0\r\n\r\n");
            return;
        }
        serving(data)(request, [&](const QByteArray& bytes) {
            write(bytes.startsWith("HTTP/1.1 206") ? bytes.left(bytes.size() - 2) + "X-Alt: " + alternates + "\r\n\r\n"
                                                    : bytes);
        }, stopping);
    });
    const Transfer t = transferOf(13, QStringLiteral("song.mp3"), data,
                                  {sourceAt(first)});
    manager.add(t);
    ASSERT_NO_FATAL_FAILURE(expectDelivered(reports, music, data, 20000));
    EXPECT_FALSE(other.requests().isEmpty());
}

TEST_F(DownloadsTest, ATricklingSourceGivesItsChunkToAFastOne)
{
    const QByteArray data = content(1024 * 1024);
    // Answers the range asked for, then sends one byte a second.
    TestHttpServer trickle([data](const QByteArray& request, const auto& write, const auto& stopping) {
        const auto range = requestedRange(request, data.size());
        if (!range)
            return;
        write(partialHead(*range, data.size()));
        for (qint64 sent = 0; sent < range->length() && !stopping(); ++sent) {
            write(data.mid(range->first + sent, 1));
            for (int i = 0; i < 20 && !stopping(); ++i)
                QThread::msleep(50);
        }
    });
    TestHttpServer fast(serving(data));
    manager.chunkDeadlineMs = 1500;
    const Transfer t = transferOf(14, QStringLiteral("song.mp3"), data,
                                  {sourceAt(trickle), sourceAt(fast)});
    manager.add(t);
    ASSERT_NO_FATAL_FAILURE(expectDelivered(reports, music, data, 20000));
}

TEST_F(DownloadsTest, AnUnreachableSourceIsPushedAndServesOverTheConnectionItOpens)
{
    const QByteArray data = content(700 * 1024);
    TestHttpServer firewalled(serving(data));
    // The address the source gave takes no connections; its servent GUID is known.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost, 0));
    const quint16 deadPort = closed.serverPort();
    closed.close();
    TransferSource source{HostAddress{(127u << 24) | 1u, deadPort}, 3, QStringLiteral("song.mp3")};
    source.serventGuid = QByteArray(16, '\x42');

    QList<std::pair<QByteArray, uint32_t>> pushes;
    QPointer<QTcpSocket> stranger;
    // The pushed host connects to us and says GIV; a connection to the test server stands in
    // for the one it opens. A connection nobody pushed for comes first and is closed.
    manager.requestPush = [&](const QByteArray& guid, uint32_t index) {
        pushes.push_back({guid, index});
        auto* socket = new QTcpSocket;
        QObject::connect(socket, &QTcpSocket::connected, socket, [&, socket, guid, index] {
            if (pushes.size() == 1) {
                stranger = new QTcpSocket;
                manager.takeGiv(GivLine{index, QByteArray(16, '\x17'), {}}, stranger);
            }
            manager.takeGiv(GivLine{index, guid, QStringLiteral("song.mp3")}, socket);
        });
        socket->connectToHost(QHostAddress::LocalHost, firewalled.port());
        return true;
    };
    manager.add(transferOf(16, QStringLiteral("song.mp3"), data, {source}));
    ASSERT_NO_FATAL_FAILURE(expectDelivered(reports, music, data, 20000));
    ASSERT_FALSE(pushes.isEmpty());
    for (const auto& [guid, index] : pushes) {
        EXPECT_EQ(guid, source.serventGuid);
        EXPECT_EQ(index, 3u);
    }
    waitUntil([&] { return stranger.isNull(); }, 2000);
    EXPECT_TRUE(stranger.isNull()) << "a connection no download pushed for is closed";
}

TEST_F(DownloadsTest, AQueuedDownloadAsksAgainOnTheSameConnectionWhenTheSourceSays)
{
    const QByteArray data = content(600 * 1024);
    // A source with one connection's worth of patience: the first request is queued, the
    // requests after it on the same connection are served; a second connection is refused.
    QTcpServer source;
    ASSERT_TRUE(source.listen(QHostAddress::LocalHost, 0));
    int connections = 0;
    QList<qint64> requestTimes;
    QElapsedTimer clock;
    clock.start();
    QObject::connect(&source, &QTcpServer::newConnection, [&] {
        QTcpSocket* socket = source.nextPendingConnection();
        if (++connections > 1) {
            socket->abort();
            return;
        }
        auto pending = std::make_shared<QByteArray>();
        QObject::connect(socket, &QTcpSocket::readyRead, socket, [&, socket, pending] {
            *pending += socket->readAll();
            qsizetype end;
            while ((end = pending->indexOf("\r\n\r\n")) >= 0) {
                const QByteArray request = pending->left(end + 4);
                pending->remove(0, end + 4);
                requestTimes << clock.elapsed();
                if (requestTimes.size() == 1) {
                    EXPECT_TRUE(request.contains("X-Queue: 0.1")) << "the downloader says it can wait in a queue";
                    socket->write("HTTP/1.1 503 Queued\r\nX-Queue: position=2,length=3,pollMin=1,pollMax=3\r\n"
                                  "Content-Length: 6\r\n\r\nqueued");
                    continue;
                }
                const auto range = requestedRange(request, data.size());
                ASSERT_TRUE(range);
                socket->write(partialHead(*range, data.size()) + data.mid(range->first, range->length()));
            }
        });
    });
    const Transfer t = transferOf(17, QStringLiteral("song.mp3"), data,
                                  {{HostAddress{(127u << 24) | 1u, source.serverPort()}, 1, QStringLiteral("song.mp3")}});
    manager.add(t);
    ASSERT_NO_FATAL_FAILURE(expectDelivered(reports, music, data, 20000));
    EXPECT_EQ(connections, 1);
    ASSERT_GE(requestTimes.size(), 2);
    EXPECT_GE(requestTimes[1] - requestTimes[0], 1000) << "not before pollMin";
    EXPECT_LE(requestTimes[1] - requestTimes[0], 3000) << "not after pollMax";
}

TEST_F(DownloadsTest, TimeHeldBackByTheLimitIsNotASlowSource)
{
    // Each chunk takes about two seconds at this limit, longer than the deadline.
    const QByteArray data = content(600 * 1024);
    TestHttpServer source(serving(data));
    manager.chunkDeadlineMs = 1000;
    manager.setLimits(30, 128);
    const Transfer t = transferOf(15, QStringLiteral("song.mp3"), data,
                                  {sourceAt(source)});
    manager.add(t);
    waitUntil([&] { return lastState() == Transfer::Complete; }, 30000);
    ASSERT_EQ(lastState(), Transfer::Complete);
    EXPECT_EQ(source.requests().size(), 3) << "no chunk was given up as stalled and asked for again";
    EXPECT_TRUE(std::any_of(reports.begin(), reports.end(), [](const TransferFigures& f) {
        return f.state == Transfer::Receiving && f.received % Transfer::ChunkSize != 0;
    })) << "progress moves within a chunk";
}

TEST_F(DownloadsTest, AtMostMaxDownloadsRunAtOnce)
{
    const QByteArray data = content(1024 * 1024);
    TestHttpServer source(serving(data, false, 40));
    manager.setLimits(1, 0);
    for (int32_t id : {21, 22}) {
        Transfer t;
        t.id = id;
        t.name = QStringLiteral("song %1.mp3").arg(id);
        t.size = data.size();
        t.urn = urnOf(data);
        t.sources = {sourceAt(source)};
        manager.add(t);
    }
    bool overlapped = false;
    QObject::connect(&manager, &DownloadManager::changed, [&](const TransferFigures&) {
        int active = 0;
        for (const TransferFigures& f : manager.figures())
            active += f.hostsActive > 0 ? 1 : 0;
        overlapped = overlapped || active > 1;
    });
    waitUntil([&] {
        const auto all = manager.figures();
        return std::all_of(all.begin(), all.end(), [](const TransferFigures& f) { return f.state == Transfer::Complete; });
    }, 30000);
    for (const TransferFigures& f : manager.figures())
        EXPECT_EQ(f.state, Transfer::Complete);
    EXPECT_FALSE(overlapped);
}

TEST(HttpHeads, QueuePlaces)
{
    struct Case {
        const char* value;
        int position, length, pollMin, pollMax;
    };
    for (const Case& c : {Case{"position=2,length=5,limit=4,pollMin=45,pollMax=120", 2, 5, 45, 120},
                          Case{" PollMax = 90 , POSITION=1", 1, 0, 30, 90},
                          Case{"pollMin=200", 0, 0, 200, 200},
                          Case{"position=x,pollMin=-3,garbage,=7", 0, 0, 30, 120},
                          Case{"", 0, 0, 30, 120}}) {
        const QueuePlace place = ParseQueue(c.value);
        EXPECT_EQ(place.position, c.position) << c.value;
        EXPECT_EQ(place.length, c.length) << c.value;
        EXPECT_EQ(place.pollMinSeconds, c.pollMin) << c.value;
        EXPECT_EQ(place.pollMaxSeconds, c.pollMax) << c.value;
    }
}

TEST(SafeNames, PeerNamesBecomePlainFileNames)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("../../x.mp3"), QStringLiteral("x.mp3")},
        {QStringLiteral("/etc/passwd.mp3"), QStringLiteral("passwd.mp3")},
        {QStringLiteral("a\\b\\c.mp3"), QStringLiteral("c.mp3")},
        {QString::fromUtf8("x\ny\0z.mp3", 9), QStringLiteral("xyz.mp3")},
        {QStringLiteral("..."), QStringLiteral("download")},
        {QStringLiteral(".hidden.mp3"), QStringLiteral("hidden.mp3")},
        {QString(10000, QLatin1Char('a')) + QStringLiteral(".mp3"), QString(196, QLatin1Char('a')) + QStringLiteral(".mp3")}};
    for (const auto& [name, safe] : cases)
        EXPECT_EQ(SafeFileName(name), safe);
}

} // namespace
