#include "gnutella/net/connection.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include "support/waituntil.h"

#include <gtest/gtest.h>

namespace {

using namespace gnutella;

// An acceptor on 127.0.0.1 and an initiator connected to it.
struct LoopbackPair {
    QTcpServer server;
    Connection* acceptor = nullptr;
    Connection* initiator = nullptr;
    QList<Message> acceptorGot, initiatorGot;
    QList<HostAddress> refusedWith;
    bool initiatorRefused = false, initiatorClosed = false, acceptorClosed = false;

    LoopbackPair(Connection::Settings acceptorSettings, Connection::Settings initiatorSettings)
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this, acceptorSettings] {
            acceptor = new Connection(server.nextPendingConnection(), Connection::Role::Acceptor,
                                      acceptorSettings, &server);
            QObject::connect(acceptor, &Connection::messageReceived,
                             [this](const Message& m) { acceptorGot << m; });
            QObject::connect(acceptor, &Connection::closed, [this] { acceptorClosed = true; });
        });
        auto* socket = new QTcpSocket;
        socket->connectToHost(QHostAddress::LocalHost, server.serverPort());
        initiator = new Connection(socket, Connection::Role::Initiator, initiatorSettings, &server);
        QObject::connect(initiator, &Connection::messageReceived,
                         [this](const Message& m) { initiatorGot << m; });
        QObject::connect(initiator, &Connection::refused, [this](const QList<HostAddress>& hosts) {
            initiatorRefused = true;
            refusedWith = hosts;
        });
        QObject::connect(initiator, &Connection::closed, [this] { initiatorClosed = true; });
    }
};

Connection::Settings ultrapeer()
{
    Connection::Settings settings;
    settings.ultrapeer = true;
    settings.userAgent = "TestUltrapeer/1.0";
    return settings;
}

TEST(Connection, LeafJoinsAnUltrapeerOverDeflatedLinks)
{
    LoopbackPair pair(ultrapeer(), Connection::Settings{});
    waitUntil([&] { return pair.initiator->isEstablished() && pair.acceptor && pair.acceptor->isEstablished(); });
    ASSERT_TRUE(pair.initiator->isEstablished());
    ASSERT_TRUE(pair.acceptor->isEstablished());
    EXPECT_TRUE(pair.initiator->peerIsUltrapeer());
    EXPECT_FALSE(pair.acceptor->peerIsUltrapeer());
    EXPECT_EQ(pair.acceptor->peerHeaders().header("Accept-Encoding"), QByteArray("deflate"));
    EXPECT_TRUE(pair.initiator->sendsCompressed());
    EXPECT_TRUE(pair.initiator->receivesCompressed());
    EXPECT_TRUE(pair.acceptor->sendsCompressed());

    for (int i = 0; i < 50; ++i)
        pair.initiator->send(Message{{NewGuid(), Query, 3, 0, 0}, "query " + QByteArray::number(i)});
    pair.acceptor->send(Message{{NewGuid(), Pong, 1, 0, 0}, QByteArray(14, '\x01')});
    waitUntil([&] { return pair.acceptorGot.size() == 50 && pair.initiatorGot.size() == 1; });
    ASSERT_EQ(pair.acceptorGot.size(), 50);
    EXPECT_EQ(pair.acceptorGot.last().payload, QByteArray("query 49"));
    ASSERT_EQ(pair.initiatorGot.size(), 1);
    EXPECT_EQ(pair.initiatorGot[0].header.type, Pong);

    pair.initiator->close("leaving");
    waitUntil([&] { return pair.acceptorClosed; });
    EXPECT_TRUE(pair.acceptorClosed);
    ASSERT_FALSE(pair.acceptorGot.isEmpty());
    EXPECT_EQ(pair.acceptorGot.last().header.type, Bye) << "goodbye is said first";
}

TEST(Connection, PlainLinksWithPeersThatDoNotDeflate)
{
    Connection::Settings plain;
    plain.deflate = false;
    LoopbackPair pair(ultrapeer(), plain);
    waitUntil([&] { return pair.initiator->isEstablished() && pair.acceptor && pair.acceptor->isEstablished(); });
    ASSERT_TRUE(pair.initiator->isEstablished());
    EXPECT_FALSE(pair.initiator->sendsCompressed());
    EXPECT_FALSE(pair.initiator->receivesCompressed());
    EXPECT_FALSE(pair.acceptor->sendsCompressed());
    EXPECT_TRUE(pair.acceptor->peerHeaders().header("Accept-Encoding").isEmpty());
    pair.acceptor->send(Message{{NewGuid(), Ping, 1, 0, 0}, {}});
    pair.initiator->send(Message{{NewGuid(), Pong, 1, 0, 0}, QByteArray(14, '\x02')});
    waitUntil([&] { return pair.initiatorGot.size() == 1 && pair.acceptorGot.size() == 1; });
    EXPECT_EQ(pair.initiatorGot.size(), 1);
    EXPECT_EQ(pair.acceptorGot.size(), 1);
}

TEST(Connection, RefusalHandsOverTheSuggestedHosts)
{
    Connection::Settings full = ultrapeer();
    full.accept = [](const HandshakeBlock&) { return false; };
    full.tryHosts = [] {
        return QList<HostAddress>{{(10u << 24) | 1, 6346}, {(10u << 24) | 2, 6350}};
    };
    LoopbackPair pair(full, Connection::Settings{});
    waitUntil([&] { return pair.initiatorClosed; });
    EXPECT_TRUE(pair.initiatorRefused);
    ASSERT_EQ(pair.refusedWith.size(), 2);
    EXPECT_EQ(pair.refusedWith[1].text(), QStringLiteral("10.0.0.2:6350"));
}

TEST(Connection, LeafRefusesAnotherLeaf)
{
    Connection::Settings leaf;
    LoopbackPair pair(leaf, Connection::Settings{});
    waitUntil([&] { return pair.initiatorClosed && pair.acceptorClosed; });
    EXPECT_TRUE(pair.initiatorRefused);
    EXPECT_FALSE(pair.initiator->isEstablished());
}

TEST(Connection, OversizedOrGarbledPeersAreDropped)
{
    Connection::Settings strict = ultrapeer();
    strict.maxPayload = 1000;
    LoopbackPair pair(strict, Connection::Settings{});
    waitUntil([&] { return pair.acceptor && pair.acceptor->isEstablished(); });
    pair.initiator->send(Message{{NewGuid(), QueryHit, 1, 0, 0}, QByteArray(2000, 'h')});
    waitUntil([&] { return pair.acceptorClosed; });
    EXPECT_TRUE(pair.acceptorClosed);
    EXPECT_TRUE(pair.acceptorGot.isEmpty());

    // Not a Gnutella handshake at all.
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    bool closed = false;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        auto* c = new Connection(server.nextPendingConnection(), Connection::Role::Acceptor,
                                 ultrapeer(), &server);
        QObject::connect(c, &Connection::closed, [&] { closed = true; });
    });
    QTcpSocket raw;
    raw.connectToHost(QHostAddress::LocalHost, server.serverPort());
    raw.waitForConnected(2000);
    raw.write("GET / HTTP/1.1\r\nHost: x\r\n\r\n");
    waitUntil([&] { return closed; });
    EXPECT_TRUE(closed);
}

TEST(Connection, SilentPeerTimesOut)
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    Connection::Settings impatient;
    impatient.handshakeMilliseconds = 200;
    auto* socket = new QTcpSocket;
    socket->connectToHost(QHostAddress::LocalHost, server.serverPort());
    Connection initiator(socket, Connection::Role::Initiator, impatient);
    bool closed = false;
    QObject::connect(&initiator, &Connection::closed, [&] { closed = true; });
    waitUntil([&] { return closed; }, 3000);
    EXPECT_TRUE(closed);
}

} // namespace
