#include "gnutella/net/networkengine.h"
#include "gnutella/transfer/httphead.h"
#include "support/testfolder.h"
#include "support/waituntil.h"

#include <QTcpSocket>
#include <gtest/gtest.h>

namespace {

using namespace gnutella;

struct Answer {
    HttpHead head;
    QByteArray body;
};

// A downloader's side of an upload connection.
class Downloader {
public:
    explicit Downloader(quint16 port) { m_socket.connectToHost(QHostAddress::LocalHost, port); }

    void send(const QByteArray& requests) { m_socket.write(requests); }
    // The next answer; a HEAD answer has no body whatever its Content-Length says.
    std::optional<Answer> next(bool toHead = false)
    {
        HttpHeadReader reader;
        Answer answer;
        auto result = reader.feed(std::exchange(m_rest, {}), answer.head, m_rest);
        while (result == HttpHeadReader::Result::NeedMore && readMore())
            result = reader.feed(m_socket.readAll(), answer.head, m_rest);
        if (result != HttpHeadReader::Result::Complete)
            return std::nullopt;
        const qsizetype length = toHead ? 0 : answer.head.header("Content-Length").toLongLong();
        while (m_rest.size() < length && readMore())
            m_rest += m_socket.readAll();
        answer.body = m_rest.left(length);
        m_rest.remove(0, answer.body.size());
        return answer;
    }
    bool closed()
    {
        waitUntil([&] { return m_socket.state() == QAbstractSocket::UnconnectedState; }, 3000);
        return m_socket.state() == QAbstractSocket::UnconnectedState;
    }
    void close() { m_socket.abort(); }

private:
    bool readMore()
    {
        waitUntil([&] { return m_socket.bytesAvailable() > 0 || m_socket.state() == QAbstractSocket::UnconnectedState; },
                  5000);
        return m_socket.bytesAvailable() > 0;
    }

    QTcpSocket m_socket;
    QByteArray m_rest;
};

QByteArray get(const QByteArray& target, const QByteArray& extra = {})
{
    return "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extra + "\r\n";
}

struct UploadsTest : ::testing::Test {
    HostCache cache;
    TestFolder folder;
    NetworkEngine node{cache};
    QByteArray song;
    QByteArray urn;

    void SetUp() override
    {
        song = QByteArray(300 * 1024, '\0');
        for (qsizetype i = 0; i < song.size(); ++i)
            song[i] = char(i * 13 + i / 997);
        folder.write(QStringLiteral("Band - Song.mp3"), song);
        node.settings.ultrapeer = true;
        node.settings.sharedFolder = folder.path();
        node.rescanShares();
        ASSERT_TRUE(node.listen(QHostAddress::LocalHost, 0));
        urn = "/uri-res/N2R?" + SharedIndexUrn();
    }
    QByteArray SharedIndexUrn()
    {
        // Asked through a HEAD by index, which names the urn in its answer.
        Downloader probe(node.listenPort());
        probe.send("HEAD /get/1/x HTTP/1.1\r\n\r\n");
        const auto answer = probe.next(true);
        return answer ? answer->head.header("X-Gnutella-Content-URN") : QByteArray();
    }
};

TEST_F(UploadsTest, RangesHeadsAndPipelinedRequestsOnOneConnection)
{
    ASSERT_TRUE(urn.contains("urn:sha1:"));
    Downloader d(node.listenPort());
    d.send(get(urn, "Range: bytes=0-99\r\n") + "HEAD " + urn + " HTTP/1.1\r\n\r\n" +
           get("/get/1/Band%20-%20Song.mp3", "Range: bytes=-10\r\n") + get(urn));
    auto first = d.next();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->head.status(), 206);
    EXPECT_EQ(first->head.header("Content-Range"), "bytes 0-99/307200");
    EXPECT_EQ(first->body, song.left(100));
    auto head = d.next(true);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->head.status(), 200);
    EXPECT_EQ(head->head.header("Content-Length"), "307200");
    auto tail = d.next();
    ASSERT_TRUE(tail);
    EXPECT_EQ(tail->head.status(), 206);
    EXPECT_EQ(tail->body, song.right(10));
    auto whole = d.next();
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->head.status(), 200);
    EXPECT_EQ(whole->body, song);
}

TEST_F(UploadsTest, RefusalsSayWhy)
{
    struct Case {
        QByteArray request;
        int status;
        bool closes;
    };
    for (const Case& c : {Case{get("/uri-res/N2R?urn:sha1:AAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA"), 404, false},
                          Case{get("/get/99/none.mp3"), 404, false},
                          Case{get(urn, "Range: bytes=400000-400010\r\n"), 416, false},
                          Case{"GET /no-version\r\n\r\n", 400, true},
                          Case{get(urn, "Connection: close\r\nRange: bytes=0-0\r\n"), 206, true}}) {
        Downloader d(node.listenPort());
        d.send(c.request);
        const auto answer = d.next();
        ASSERT_TRUE(answer) << c.request.constData();
        EXPECT_EQ(answer->head.status(), c.status) << c.request.constData();
        if (c.closes) {
            EXPECT_TRUE(d.closed()) << c.request.constData();
        }
    }
}

TEST_F(UploadsTest, WhenEverySlotIsTakenDownloadersThatCanWaitAreQueued)
{
    node.settings.uploadSlots = 1;
    node.settings.queuePollMinSeconds = 2;
    node.settings.queuePollMaxSeconds = 5;
    Downloader holder(node.listenPort());
    holder.send(get(urn, "Range: bytes=0-9\r\n"));
    ASSERT_TRUE(holder.next());

    Downloader impatient(node.listenPort());
    impatient.send(get(urn, "Range: bytes=0-9\r\n"));
    auto busy = impatient.next();
    ASSERT_TRUE(busy);
    EXPECT_EQ(busy->head.status(), 503);
    EXPECT_EQ(busy->head.header("Retry-After"), "30");
    EXPECT_TRUE(busy->head.header("X-Queue").isEmpty());

    const QByteArray queued = get(urn, "Range: bytes=10-19\r\nX-Queue: 0.1\r\n");
    Downloader patient(node.listenPort());
    patient.send(queued);
    auto place = patient.next();
    ASSERT_TRUE(place);
    EXPECT_EQ(place->head.status(), 503);
    EXPECT_EQ(place->head.header("X-Queue"), "position=1,length=1,limit=1,pollMin=2,pollMax=5");

    Downloader flooder(node.listenPort());
    flooder.send(queued);
    auto second = flooder.next();
    ASSERT_TRUE(second);
    EXPECT_TRUE(second->head.header("X-Queue").startsWith("position=2,length=2,"));
    flooder.send(queued);
    EXPECT_TRUE(flooder.closed()) << "asking again at once loses the place";

    // The slot comes free; a newcomer does not jump the line, the one waiting gets it.
    holder.close();
    impatient.send(get(urn, "Range: bytes=0-9\r\n"));
    auto stillBusy = impatient.next();
    ASSERT_TRUE(stillBusy);
    EXPECT_EQ(stillBusy->head.status(), 503);
    waitUntil([] { return false; }, 2100);
    patient.send(queued);
    auto served = patient.next();
    ASSERT_TRUE(served);
    EXPECT_EQ(served->head.status(), 206);
    EXPECT_EQ(served->body, song.mid(10, 10));
}

} // namespace
