#include "gnutella/net/networkengine.h"
#include "support/waituntil.h"
#include "support/testfolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <gtest/gtest.h>

namespace {

using namespace gnutella;

HostAddress local(quint16 port)
{
    return HostAddress{(127u << 24) | 1u, port};
}

// A node of the local network, with its own host cache and shared folder.
struct Node {
    HostCache cache;
    TestFolder folder;
    NetworkEngine engine{cache};
    QList<QueryHitPayload> hits;

    Node(bool ultrapeer, QStringList files)
    {
        engine.settings.ultrapeer = ultrapeer;
        engine.settings.sharedFolder = folder.path();
        for (const QString& name : files)
            folder.write(name, name.toUtf8().repeated(100));
        engine.rescanShares();
        if (ultrapeer)
            engine.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&engine, &NetworkEngine::hitReceived,
                         [this](const QByteArray&, const QueryHitPayload& hit) { hits << hit; });
    }
    QStringList names() const
    {
        QStringList all;
        for (const QueryHitPayload& hit : hits)
            for (const HitResult& r : hit.results)
                all << r.name;
        all.sort();
        return all;
    }
};

TEST(NetworkEngine, LeafSearchesThroughTwoUltrapeers)
{
    Node up1(true, {"Beatles - Yesterday.mp3", "Other - Song.mp3"});
    Node up2(true, {"Beatles - Help.mp3"});
    Node sharingLeaf(false, {"Beatles - Yesterday.mp3", "Quiet - Tune.mp3"});
    Node leaf(false, {});
    up2.engine.connectTo(local(up1.engine.listenPort()));
    sharingLeaf.engine.connectTo(local(up1.engine.listenPort()));
    leaf.engine.connectTo(local(up2.engine.listenPort()));
    waitUntil([&] {
        return up1.engine.nodeCount() == 2 && up2.engine.nodeCount() == 2 && leaf.engine.nodeCount() == 1;
    });
    ASSERT_EQ(leaf.engine.nodeCount(), 1);
    ASSERT_EQ(up1.engine.nodeCount(), 2);
    // Let the leaf's routing table arrive.
    waitUntil([] { return false; }, 300);

    leaf.engine.query(QStringLiteral("beatles"));
    waitUntil([&] { return leaf.names().size() >= 3; });
    EXPECT_EQ(leaf.names(), (QStringList{"Beatles - Help.mp3", "Beatles - Yesterday.mp3",
                                         "Beatles - Yesterday.mp3"}));
    // The two copies of Yesterday are the same file: one URN.
    QList<QByteArray> urns;
    for (const QueryHitPayload& hit : leaf.hits)
        for (const HitResult& r : hit.results)
            if (r.name.contains(QStringLiteral("Yesterday")))
                urns << r.sha1Urn;
    ASSERT_EQ(urns.size(), 2);
    EXPECT_EQ(urns[0], urns[1]);
    EXPECT_TRUE(urns[0].startsWith("urn:sha1:"));

    // The sharing leaf's table keeps queries for words it lacks away from it.
    leaf.hits.clear();
    leaf.engine.query(QStringLiteral("quiet tune"));
    waitUntil([&] { return !leaf.hits.isEmpty(); });
    EXPECT_EQ(leaf.names(), QStringList{"Quiet - Tune.mp3"});

    bool done = false;
    QObject::connect(&leaf.engine, &NetworkEngine::disconnected, [&] { done = true; });
    leaf.engine.disconnectNetwork();
    waitUntil([&] { return done; });
    EXPECT_TRUE(done);
    EXPECT_EQ(leaf.engine.nodeCount(), 0);
    waitUntil([&] { return up2.engine.nodeCount() == 1; });
    EXPECT_EQ(up2.engine.nodeCount(), 1);
}

TEST(NetworkEngine, LeafKeepsConnectionsFromItsCacheAndLearnsHosts)
{
    Node up1(true, {});
    Node up2(true, {});
    Node leaf(false, {});
    up2.engine.connectTo(local(up1.engine.listenPort()));
    waitUntil([&] { return up1.engine.nodeCount() == 1; });
    leaf.cache.add(HostCache::Ultrapeers, local(1)); // nothing listens there
    leaf.cache.add(HostCache::Ultrapeers, local(up2.engine.listenPort()));
    leaf.engine.settings.targetUltrapeers = 2;
    leaf.engine.connectNetwork();
    waitUntil([&] { return leaf.engine.nodeCount() >= 1; });
    EXPECT_GE(leaf.engine.nodeCount(), 1);
    // up2 offered up1 in its answer.
    waitUntil([&] { return leaf.cache.hosts(HostCache::Ultrapeers).contains(local(up1.engine.listenPort())); });
    EXPECT_TRUE(leaf.cache.hosts(HostCache::Ultrapeers).contains(local(up1.engine.listenPort())));
    waitUntil([&] { return leaf.engine.nodeCount() == 2; }, 5000);
    EXPECT_EQ(leaf.engine.nodeCount(), 2) << "the dead host waits; the learned one is joined";
}

TEST(NetworkEngine, OnlyTheOffendingConnectionIsDropped)
{
    Node up(true, {"Some - Song.mp3"});
    Node good(false, {});
    good.engine.connectTo(local(up.engine.listenPort()));
    // A peer that sends a message over the size limit.
    auto* socket = new QTcpSocket;
    socket->connectToHost(QHostAddress::LocalHost, up.engine.listenPort());
    Connection::Settings rude;
    rude.maxPayload = 1024 * 1024;
    Connection offender(socket, Connection::Role::Initiator, rude);
    waitUntil([&] { return offender.isEstablished() && up.engine.nodeCount() == 2; });
    ASSERT_EQ(up.engine.nodeCount(), 2);
    bool dropped = false;
    QObject::connect(&offender, &Connection::closed, [&] { dropped = true; });
    offender.send(Message{{NewGuid(), QueryHit, 1, 0, 0}, QByteArray(100 * 1024, 'x')});
    waitUntil([&] { return dropped; });
    EXPECT_TRUE(dropped);
    EXPECT_EQ(up.engine.nodeCount(), 1);
    good.engine.query(QStringLiteral("song"));
    waitUntil([&] { return !good.hits.isEmpty(); });
    EXPECT_EQ(good.names(), QStringList{"Some - Song.mp3"}) << "the other leaf is served as before";
}

TEST(NetworkEngine, GivConnectionsGoToTheirHandlerAndBrokenOnesAreClosed)
{
    Node up(true, {});
    QList<GivLine> givs;
    std::vector<std::unique_ptr<QTcpSocket>> handed;
    up.engine.givHandler = [&](const GivLine& giv, QTcpSocket* socket) {
        givs << giv;
        handed.emplace_back(socket);
    };
    const auto connectAndSend = [&](const QByteArray& bytes) {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, up.engine.listenPort());
        socket->waitForConnected(5000);
        socket->write(bytes);
        return socket;
    };
    const auto good = connectAndSend("GIV 5:00112233445566778899AABBCCDDEEFF/Some%20Song.mp3\r\n\r\nHTTP");
    const auto endless = connectAndSend("GIV " + QByteArray(GivLine::MaxBytes + 100, 'x'));
    const auto garbled = connectAndSend("GIV 5:not-a-guid/x.mp3\n\n");
    waitUntil([&] {
        return !givs.isEmpty() && endless->state() == QAbstractSocket::UnconnectedState &&
               garbled->state() == QAbstractSocket::UnconnectedState;
    });
    ASSERT_EQ(givs.size(), 1);
    EXPECT_EQ(givs[0].index, 5u);
    EXPECT_EQ(givs[0].serventGuid.toHex(), "00112233445566778899aabbccddeeff");
    EXPECT_EQ(givs[0].name, QStringLiteral("Some Song.mp3"));
    waitUntil([&] { return handed[0]->bytesAvailable() >= 4; });
    EXPECT_EQ(handed[0]->readAll(), "HTTP") << "what follows the GIV line is left for the handler";
    EXPECT_EQ(endless->state(), QAbstractSocket::UnconnectedState) << "a GIV line that never ends";
    EXPECT_EQ(garbled->state(), QAbstractSocket::UnconnectedState);
}

TEST(NetworkEngine, LearnedHostsAreWrittenToTheCacheFile)
{
    Node up1(true, {});
    Node up2(true, {});
    Node leaf(false, {});
    up2.engine.connectTo(local(up1.engine.listenPort()));
    waitUntil([&] { return up1.engine.nodeCount() == 1; });
    leaf.engine.connectTo(local(up2.engine.listenPort()));
    waitUntil([&] { return leaf.cache.hosts(HostCache::Ultrapeers).size() >= 2; });
    TestFolder folder;
    const QString path = folder.file(QStringLiteral("ultracache.net"));
    ASSERT_TRUE(leaf.cache.save(HostCache::Ultrapeers, path));
    HostCache reread;
    ASSERT_TRUE(reread.load(HostCache::Ultrapeers, path));
    EXPECT_TRUE(reread.hosts(HostCache::Ultrapeers).contains(local(up1.engine.listenPort())));
    EXPECT_TRUE(reread.hosts(HostCache::Ultrapeers).contains(local(up2.engine.listenPort())));

    folder.write(QStringLiteral("messy.net"), "junk\r\n10.0.0.1:6346 2004-12-18T23:47Z\r\n999.1.1.1:5\r\n"
                                             "10.0.0.2\r\n\r\n10.0.0.3:0\r\n");
    HostCache messy;
    ASSERT_TRUE(messy.load(HostCache::Hosts, folder.file(QStringLiteral("messy.net"))));
    EXPECT_EQ(messy.hosts(HostCache::Hosts).size(), 2) << "malformed lines are skipped";
}

} // namespace
