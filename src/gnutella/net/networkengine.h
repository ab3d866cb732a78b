#pragma once

#include "gnutella/net/connection.h"
#include "gnutella/net/guidroutes.h"
#include "gnutella/net/hostcache.h"
#include "gnutella/net/sharedindex.h"
#include "gnutella/protocol/push.h"
#include "gnutella/protocol/qrp.h"
#include "gnutella/transfer/uploadslots.h"
#include "gnutella/protocol/queryhit.h"

#include <QElapsedTimer>
#include <QHash>
#include <QHostAddress>
#include <QObject>
#include <QSet>
#include <QTimer>
#include <functional>
#include <memory>

class QTcpServer;
class QTcpSocket;

namespace gnutella {
class Bootstrap;
}

namespace gnutella {

// The Gnutella side of the engine: as a leaf it keeps connections to ultrapeers from its host
// cache, sends its queries through them and hands back the hits; as an ultrapeer (node mode) it
// accepts leaves and ultrapeers, answers pings and queries from its shared folder, and routes
// queries and hits between its connections by GUID. Pushes travel back along the way the hits
// of their target came; a host that is pushed connects out and serves the file there.
class NetworkEngine final : public QObject {
    Q_OBJECT
public:
    struct Settings {
        bool ultrapeer = false;
        QByteArray userAgent = "Tavrin/1.0.0";
        QByteArray vendor = "TVRN";
        int targetUltrapeers = 4;   // a leaf's ultrapeer connections
        int concurrentAttempts = 6; // connection attempts at once
        int maxLeaves = 30;
        int maxUltrapeers = 8;
        int maxHitsPerQuery = 250;
        QString sharedFolder;
        // Refill an empty host cache from the built-in bootstrap seeds and known web caches.
        bool bootstrap = false;
        int uploadSlots = 4;
        // How soon and how late a downloader waiting for an upload slot is to ask again.
        int queuePollMinSeconds = 10;
        int queuePollMaxSeconds = 60;
    };

    explicit NetworkEngine(HostCache& cache, QObject* parent = nullptr);
    ~NetworkEngine() override;

    Settings settings;

    // Listens for peers (node mode); false when the address cannot be bound.
    bool listen(const QHostAddress& address, quint16 port);
    quint16 listenPort() const;
    void rescanShares();

    // Starts keeping connections up from the host cache; connectTo adds one peer by hand.
    void connectNetwork();
    void connectTo(const HostAddress& host);
    // Says goodbye to every peer; disconnected() follows once all are closed.
    void disconnectNetwork();
    bool running() const { return m_running; }
    int nodeCount() const;

    // Sends a query to every connected peer; returns its GUID, by which hits come back.
    // guid may be given by the caller; a fresh one is made otherwise.
    QByteArray query(const QString& text, const QList<QByteArray>& urns = {},
                     QByteArray guid = {});
    void forgetQuery(const QByteArray& guid);

    // Asks the firewalled host with this servent GUID to connect to us and offer the file of
    // this index, through the ultrapeer its hits came from (or every ultrapeer); listens first
    // when not listening yet. False when no connection can carry it.
    bool sendPush(const QByteArray& serventGuid, uint32_t index);
    // Takes each connection a pushed host opened to us, after its GIV line; the socket is then
    // the handler's. Without a handler such connections are closed.
    std::function<void(const gnutella::GivLine& giv, QTcpSocket* socket)> givHandler;

signals:
    void nodesChanged(int count);
    void disconnected();
    void hitReceived(const QByteArray& queryGuid, const gnutella::QueryHitPayload& hit);

private:
    struct Peer {
        Connection* connection = nullptr;
        HostAddress address;
        bool outgoing = false;
        bool ultrapeer = false;
        QueryRouteTable table;
        QElapsedTimer lastHeard; // since the last message from the peer
        QElapsedTimer lastPing;  // since our last keep-alive ping
    };

    void maintain();
    void dispatch(QTcpSocket* socket);
    // Waits a while for more of what a new connection sends, calling next as it arrives.
    void awaitMore(QTcpSocket* socket, void (NetworkEngine::*next)(QTcpSocket*));
    void stopAwaiting(QTcpSocket* socket);
    void keepAlive();
    void adopt(Connection* connection, const HostAddress& address, bool outgoing);
    void onEstablished(Connection* connection);
    void onClosed(Connection* connection);
    void onMessage(Connection* connection, const Message& message);
    void answerPing(Peer& peer, const Message& message);
    void handleQuery(Peer& from, const Message& message);
    void handleHit(Connection* from, const Message& message);
    void handlePush(Connection* from, const Message& message);
    void answerPush(const PushPayload& push);
    void readGiv(QTcpSocket* socket);
    void serveUploads(QTcpSocket* socket);
    Peer* peerOf(Connection* connection);
    QList<HostAddress> connectedAddresses() const;
    bool acceptPeer(const HandshakeBlock& peer) const;
    uint32_t ownIp() const;

    HostCache& m_cache;
    std::unique_ptr<QTcpServer> m_server;
    std::vector<std::unique_ptr<Peer>> m_peers;
    QTimer m_maintenance;
    std::unique_ptr<Bootstrap> m_bootstrap;
    UploadSlots m_uploadSlots{4};
    bool m_running = false;
    bool m_disconnecting = false;
    SharedIndex m_shares;
    QByteArray m_serventGuid;
    QSet<QByteArray> m_ownQueries;
    // Where each query came from, so its hits can go back.
    GuidRoutes m_routes;
    // Where the hits of each servent came from, so pushes to it can follow.
    GuidRoutes m_pushRoutes;
    // When each address was last connected to for a push: a flood of pushes is not obeyed.
    QHash<quint64, qint64> m_pushedTo;
    int m_pushedConnections = 0;
};

} // namespace gnutella
