#include "support/testhttpserver.h"
#include "web/inet.h"

#include <QThread>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

namespace {

// What one fetch reported, collected from the worker's thread.
struct Outcome {
    std::mutex mutex;
    std::condition_variable ended;
    QList<QByteArray> pieces;
    QString result; // "complete" or "failure"
    int endings = 0;

    QByteArray body()
    {
        std::lock_guard lock(mutex);
        QByteArray all;
        for (const QByteArray& piece : pieces)
            all += piece;
        return all;
    }
};

void fetch(TInet& inet, Outcome& outcome, const QString& url, int port)
{
    inet.Port = port;
    inet.OnData = [&](const QString&, const QByteArray& piece) {
        std::lock_guard lock(outcome.mutex);
        outcome.pieces << piece;
    };
    const auto end = [&](const char* how) {
        std::lock_guard lock(outcome.mutex);
        outcome.result = QString::fromLatin1(how);
        ++outcome.endings;
        outcome.ended.notify_all();
    };
    inet.OnComplete = [end](const QString&) { end("complete"); };
    inet.OnFailure = [end](const QString&) { end("failure"); };
    inet.Start(url);
}

Outcome& waitFor(Outcome& outcome)
{
    std::unique_lock lock(outcome.mutex);
    outcome.ended.wait_for(lock, std::chrono::seconds(30), [&] { return outcome.endings > 0; });
    return outcome;
}

void answerWith(const QByteArray& response, TestHttpServer::Script* script)
{
    *script = [response](const QByteArray&, const auto& write, const auto&) { write(response); };
}

TEST(Inet, AddressSplit)
{
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"http://lists.example.org/dir/file.txt", "lists.example.org", "dir/file.txt"},
        {"HTTP://Lists.Example.org/caches/cache.txt", "Lists.Example.org", "caches/cache.txt"},
        {"http://host.example.org", "host.example.org", ""},
        {"host.example.org:8080/x", "host.example.org:8080", "x"}};
    for (const auto& [url, host, path] : cases) {
        const TInet::Address address = TInet::SplitAddress(QString::fromLatin1(url));
        EXPECT_EQ(address.host, QString::fromLatin1(host)) << url;
        EXPECT_EQ(address.path, QString::fromLatin1(path)) << url;
    }
}

TEST(Inet, RequestAndErrorPageWithLength)
{
    const QByteArray page(300, 'e');
    TestHttpServer::Script script;
    answerWith(TestHttpServer::answer(404, page), &script);
    TestHttpServer server(script);
    Outcome outcome;
    {
        TInet inet(QStringLiteral("page"));
        fetch(inet, outcome, QStringLiteral("HTTP://127.0.0.1/dir/file.txt"), server.port());
        waitFor(outcome);
    }
    EXPECT_EQ(outcome.result, QStringLiteral("complete"));
    EXPECT_EQ(outcome.body(), page);
    const QByteArray request = server.requests().value(0);
    EXPECT_TRUE(request.startsWith("GET /dir/file.txt HTTP/1.0\r\n")) << request.constData();
    EXPECT_TRUE(request.contains("User-Agent: Mozilla/4.0 (compatible; MSIE 5.0; Windows 98; DigExt)\r\n"));
    EXPECT_TRUE(request.contains("Pragma: no-cache\r\n"));
}

TEST(Inet, BodyWithoutLengthArrivesInPiecesThenFails)
{
    QByteArray body;
    for (int i = 0; i < 5000; ++i)
        body += char('a' + i % 26);
    TestHttpServer::Script script;
    answerWith(TestHttpServer::answer(200, body, false), &script);
    TestHttpServer server(script);
    Outcome outcome;
    TInet inet(QStringLiteral("nolength"));
    fetch(inet, outcome, QStringLiteral("http://127.0.0.1/"), server.port());
    waitFor(outcome);
    inet.Wait();
    EXPECT_EQ(outcome.result, QStringLiteral("failure"));
    EXPECT_EQ(outcome.body(), body);
    for (const QByteArray& piece : outcome.pieces)
        EXPECT_LE(piece.size(), 1024);
    EXPECT_EQ(outcome.endings, 1);
}

TEST(Inet, EmptyBodyWithLengthZeroCompletes)
{
    TestHttpServer::Script script;
    answerWith(TestHttpServer::answer(200, QByteArray()), &script);
    TestHttpServer server(script);
    Outcome outcome;
    TInet inet(QStringLiteral("empty"));
    fetch(inet, outcome, QStringLiteral("127.0.0.1"), server.port());
    waitFor(outcome);
    EXPECT_EQ(outcome.result, QStringLiteral("complete"));
    EXPECT_TRUE(outcome.pieces.isEmpty());
    EXPECT_TRUE(server.requests().value(0).startsWith("GET / HTTP/1.0"));
}

TEST(Inet, DroppedConnectionFailsAfterThePieces)
{
    const QByteArray full = TestHttpServer::answer(200, QByteArray(1000, 'x'));
    TestHttpServer::Script script;
    answerWith(full.left(full.size() - 500), &script);
    TestHttpServer server(script);
    Outcome outcome;
    TInet inet(QStringLiteral("dropped"));
    fetch(inet, outcome, QStringLiteral("http://127.0.0.1/x"), server.port());
    waitFor(outcome);
    EXPECT_EQ(outcome.result, QStringLiteral("failure"));
    EXPECT_EQ(outcome.body().size(), 500);
}

TEST(Inet, UnknownHostFailsWithoutData)
{
    Outcome outcome;
    TInet inet(QStringLiteral("nowhere"));
    fetch(inet, outcome, QStringLiteral("http://no-such-host.invalid/caches/cache.txt"), 80);
    waitFor(outcome);
    EXPECT_EQ(outcome.result, QStringLiteral("failure"));
    EXPECT_TRUE(outcome.pieces.isEmpty());
}

TEST(Inet, StopRequestEndsASlowFetch)
{
    TestHttpServer server([](const QByteArray&, const auto& write, const auto& stopping) {
        write("HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n");
        for (int i = 0; i < 600 && !stopping(); ++i) {
            write(QByteArray(10, 's'));
            QThread::msleep(20);
        }
    });
    Outcome outcome;
    TInet inet(QStringLiteral("slow"));
    fetch(inet, outcome, QStringLiteral("http://127.0.0.1/slow"), server.port());
    QThread::msleep(300);
    inet.Stop();
    waitFor(outcome);
    EXPECT_EQ(outcome.result, QStringLiteral("failure"));
    EXPECT_EQ(outcome.endings, 1);
}

} // namespace
