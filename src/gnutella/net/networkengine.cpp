#include "gnutella/net/networkengine.h"

#include "gnutella/net/bootstrap.h"
#include "gnutella/transfer/uploadsession.h"
#include "gnutella/protocol/pong.h"
#include "gnutella/protocol/query.h"

#include <QDateTime>
#include <QTcpServer>
#include <QTcpSocket>

namespace gnutella {

namespace {
constexpr int kMaintenanceMs = 1000;
constexpr int kMaxRoutes = 20000;
constexpr int kQueryTtl = 3;
constexpr int kMaxTtlPlusHops = 7;
constexpr size_t kRecordsPerHit = 50;
// A quiet peer gets a ping now and then; one that stays silent much longer is dropped.
constexpr qint64 kPingAfterMs = 30 * 1000;
constexpr qint64 kSilentLimitMs = 120 * 1000;
constexpr int kMostPushedConnections = 8; // connections out for pushes, still connecting
constexpr qint64 kPushRepeatMs = 5000;
constexpr int kConnectTimeoutMs = 10000;
constexpr int kFirstBytesMs = 10000; // for a new connection to say what it wants

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}
} // namespace

NetworkEngine::NetworkEngine(HostCache& cache, QObject* parent)
    : QObject(parent), m_cache(cache), m_maintenance(this), m_serventGuid(NewGuid()), m_routes(kMaxRoutes),
      m_pushRoutes(kMaxRoutes)
{
    m_maintenance.setInterval(kMaintenanceMs);
    connect(&m_maintenance, &QTimer::timeout, this, &NetworkEngine::maintain);
}

NetworkEngine::~NetworkEngine()
{
    // The uploads give their slots back while the slots still exist.
    qDeleteAll(findChildren<UploadSession*>(Qt::FindDirectChildrenOnly));
    for (auto& peer : m_peers)
        peer->connection->disconnect(this);
}

bool NetworkEngine::listen(const QHostAddress& address, quint16 port)
{
    m_server = std::make_unique<QTcpServer>();
    if (!m_server->listen(address, port)) {
        m_server.reset(); // not listening: hits, pongs and queries say so
        return false;
    }
    connect(m_server.get(), &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection())
            dispatch(socket);
    });
    m_maintenance.start();
    return true;
}

void NetworkEngine::awaitMore(QTcpSocket* socket, void (NetworkEngine::*next)(QTcpSocket*))
{
    if (socket->findChild<QTimer*>(QString(), Qt::FindDirectChildrenOnly))
        return; // waiting already
    socket->setParent(this);
    auto* timeout = new QTimer(socket);
    timeout->setSingleShot(true);
    connect(timeout, &QTimer::timeout, socket, &QTcpSocket::deleteLater);
    timeout->start(kFirstBytesMs);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, next] { (this->*next)(socket); });
    connect(socket, &QTcpSocket::disconnected, socket, &QTcpSocket::deleteLater);
}

void NetworkEngine::stopAwaiting(QTcpSocket* socket)
{
    socket->disconnect();
    qDeleteAll(socket->findChildren<QTimer*>(QString(), Qt::FindDirectChildrenOnly));
}

void NetworkEngine::dispatch(QTcpSocket* socket)
{
    // One port serves the network and file transfers: the first bytes tell which is wanted.
    if (socket->bytesAvailable() < 4) {
        awaitMore(socket, &NetworkEngine::dispatch);
        return;
    }
    stopAwaiting(socket);
    const QByteArray start = socket->peek(4);
    if (start == "GET " || start == "HEAD") {
        serveUploads(socket);
        return;
    }
    if (start == "GIV ") {
        readGiv(socket);
        return;
    }
    Connection::Settings s;
    s.ultrapeer = settings.ultrapeer;
    s.userAgent = settings.userAgent;
    s.accept = [this](const HandshakeBlock& peer) { return acceptPeer(peer); };
    s.tryHosts = [this] { return connectedAddresses(); };
    HostAddress address{socket->peerAddress().toIPv4Address(), socket->peerPort()};
    adopt(new Connection(socket, Connection::Role::Acceptor, s, this), address, false);
}

quint16 NetworkEngine::listenPort() const
{
    return m_server ? m_server->serverPort() : 0;
}

void NetworkEngine::serveUploads(QTcpSocket* socket)
{
    UploadSession::Settings s;
    s.server = settings.userAgent;
    m_uploadSlots.setCount(settings.uploadSlots);
    s.uploadSlots = &m_uploadSlots;
    s.pollMinSeconds = settings.queuePollMinSeconds;
    s.pollMaxSeconds = settings.queuePollMaxSeconds;
    auto* upload = new UploadSession(socket, m_shares, s, this);
    connect(upload, &UploadSession::finished, upload, &QObject::deleteLater);
}

void NetworkEngine::readGiv(QTcpSocket* socket)
{
    const QByteArray seen = socket->peek(GivLine::MaxBytes + 4);
    const qsizetype end = seen.indexOf("\n\n");
    const qsizetype crlfEnd = seen.indexOf("\r\n\r\n");
    const bool crlf = crlfEnd >= 0 && (end < 0 || crlfEnd < end);
    if (end < 0 && crlfEnd < 0) {
        if (seen.size() > GivLine::MaxBytes)
            socket->deleteLater();
        else
            awaitMore(socket, &NetworkEngine::readGiv);
        return;
    }
    const qsizetype lineEnd = crlf ? crlfEnd : end;
    socket->read(lineEnd + (crlf ? 4 : 2));
    // From here on the socket is the handler's.
    stopAwaiting(socket);
    const auto giv = GivLine::parse(seen.left(lineEnd).split('\n').front().trimmed());
    if (!giv || !givHandler) {
        socket->deleteLater();
        return;
    }
    socket->setParent(nullptr);
    givHandler(*giv, socket);
}

bool NetworkEngine::sendPush(const QByteArray& serventGuid, uint32_t index)
{
    std::vector<Connection*> routes;
    if (Connection* route = m_pushRoutes.route(serventGuid))
        routes.push_back(route);
    else
        for (const auto& peer : m_peers)
            if (peer->connection->isEstablished() && peer->ultrapeer)
                routes.push_back(peer->connection);
    if (routes.empty())
        return false;
    // The pushed host connects to the address that faces our ultrapeer.
    if (!m_server && !listen(routes.front()->socket()->localAddress(), 0))
        return false;
    PushPayload push;
    push.serventGuid = serventGuid;
    push.index = index;
    push.ip = ownIp();
    push.port = listenPort();
    const Message message{{NewGuid(), Push, uint8_t(kMaxTtlPlusHops), 0, 0}, push.encode()};
    for (Connection* route : routes)
        route->send(message);
    return true;
}

void NetworkEngine::handlePush(Connection* from, const Message& message)
{
    const auto push = PushPayload::decode(message.payload);
    if (!push)
        return;
    if (push->serventGuid == m_serventGuid) {
        answerPush(*push);
        return;
    }
    Connection* route = m_pushRoutes.route(push->serventGuid);
    if (!settings.ultrapeer || !route || route == from || message.header.ttl <= 1)
        return;
    Message forward = message;
    forward.header.ttl = uint8_t(message.header.ttl - 1);
    forward.header.hops = uint8_t(message.header.hops + 1);
    route->send(forward);
}

void NetworkEngine::answerPush(const PushPayload& push)
{
    const SharedIndex::File* file = m_shares.byIndex(push.index);
    if (!file || push.ip == 0 || push.port == 0 || m_pushedConnections >= kMostPushedConnections)
        return;
    // One connection a few seconds to any one address, however many pushes name it.
    const quint64 target = quint64(push.ip) << 16 | push.port;
    const auto last = m_pushedTo.constFind(target);
    if (last != m_pushedTo.constEnd() && now() - *last < kPushRepeatMs)
        return;
    if (m_pushedTo.size() > kMaxRoutes)
        m_pushedTo.clear();
    m_pushedTo.insert(target, now());
    ++m_pushedConnections;
    auto* socket = new QTcpSocket(this);
    auto* timeout = new QTimer(socket);
    timeout->setSingleShot(true);
    const auto giveUp = [this, socket, timeout] {
        --m_pushedConnections;
        timeout->stop();
        socket->disconnect();
        socket->deleteLater();
    };
    connect(timeout, &QTimer::timeout, socket, giveUp);
    connect(socket, &QTcpSocket::errorOccurred, socket, giveUp);
    connect(socket, &QTcpSocket::connected, this,
            [this, socket, timeout, line = GivLine{push.index, m_serventGuid, file->name}.encode()] {
                --m_pushedConnections;
                timeout->stop();
                timeout->deleteLater();
                socket->disconnect();
                socket->write(line);
                serveUploads(socket);
            });
    timeout->start(kConnectTimeoutMs);
    socket->connectToHost(QHostAddress(push.ip), push.port);
}

void NetworkEngine::rescanShares()
{
    if (!settings.sharedFolder.isEmpty())
        m_shares.scan(settings.sharedFolder);
}

bool NetworkEngine::acceptPeer(const HandshakeBlock& peer) const
{
    if (!settings.ultrapeer || m_disconnecting)
        return false;
    const bool leaf = peer.header("X-Ultrapeer").trimmed().toLower() != "true";
    int leaves = 0;
    int ultrapeers = 0;
    for (const auto& p : m_peers)
        if (p->connection->isEstablished())
            (p->ultrapeer ? ultrapeers : leaves)++;
    return leaf ? leaves < settings.maxLeaves : ultrapeers < settings.maxUltrapeers;
}

void NetworkEngine::connectNetwork()
{
    m_running = true;
    m_disconnecting = false;
    m_maintenance.start();
    maintain();
}

void NetworkEngine::connectTo(const HostAddress& host)
{
    m_maintenance.start();
    m_cache.add(HostCache::Ultrapeers, host);
    Connection::Settings s;
    s.ultrapeer = settings.ultrapeer;
    s.userAgent = settings.userAgent;
    auto* socket = new QTcpSocket;
    socket->connectToHost(QHostAddress(host.ip), host.port);
    adopt(new Connection(socket, Connection::Role::Initiator, s, this), host, true);
}

void NetworkEngine::keepAlive()
{
    std::vector<Connection*> silent;
    for (const auto& peer : m_peers) {
        if (!peer->connection->isEstablished())
            continue;
        if (peer->lastHeard.elapsed() > kSilentLimitMs) {
            silent.push_back(peer->connection);
        } else if (peer->lastHeard.elapsed() > kPingAfterMs && peer->lastPing.elapsed() > kPingAfterMs) {
            peer->connection->send(Message{{NewGuid(), Ping, 1, 0, 0}, {}});
            peer->lastPing.start();
        }
    }
    for (Connection* connection : silent)
        connection->close("No answer");
}

void NetworkEngine::maintain()
{
    keepAlive();
    if (!m_running || m_disconnecting)
        return;
    int ultrapeers = 0;
    int attempts = 0;
    for (const auto& peer : m_peers) {
        if (!peer->outgoing)
            continue;
        if (peer->connection->isEstablished())
            ++ultrapeers;
        else
            ++attempts;
    }
    while (ultrapeers + attempts < settings.targetUltrapeers && attempts < settings.concurrentAttempts) {
        QList<HostAddress> exclude = connectedAddresses();
        for (const auto& peer : m_peers)
            exclude << peer->address;
        const auto host = m_cache.next(now(), exclude);
        if (!host) {
            // Nothing left to try: ask the bootstrap caches (now and then, not every tick).
            if (settings.bootstrap && ultrapeers == 0 && attempts == 0) {
                if (!m_bootstrap)
                    m_bootstrap = std::make_unique<Bootstrap>(m_cache, settings.vendor, "1.0.0");
                m_bootstrap->run();
            }
            break;
        }
        // A host is tried once per wait; success clears it.
        m_cache.failed(*host, now());
        connectTo(*host);
        ++attempts;
    }
}

void NetworkEngine::adopt(Connection* connection, const HostAddress& address, bool outgoing)
{
    auto peer = std::make_unique<Peer>();
    peer->connection = connection;
    peer->address = address;
    peer->outgoing = outgoing;
    peer->lastHeard.start();
    peer->lastPing.start();
    m_peers.push_back(std::move(peer));
    connect(connection, &Connection::established, this, [this, connection] { onEstablished(connection); });
    connect(connection, &Connection::closed, this, [this, connection] { onClosed(connection); });
    connect(connection, &Connection::refused, this, [this](const QList<HostAddress>& hosts) {
        for (const HostAddress& host : hosts)
            m_cache.add(HostCache::Ultrapeers, host);
    });
    connect(connection, &Connection::messageReceived, this,
            [this, connection](const Message& message) { onMessage(connection, message); });
}

NetworkEngine::Peer* NetworkEngine::peerOf(Connection* connection)
{
    for (auto& peer : m_peers)
        if (peer->connection == connection)
            return peer.get();
    return nullptr;
}

int NetworkEngine::nodeCount() const
{
    int count = 0;
    for (const auto& peer : m_peers)
        if (peer->connection->isEstablished())
            ++count;
    return count;
}

QList<HostAddress> NetworkEngine::connectedAddresses() const
{
    QList<HostAddress> hosts;
    for (const auto& peer : m_peers)
        if (peer->connection->isEstablished() && peer->ultrapeer && peer->address.port != 0)
            hosts << peer->address;
    return hosts;
}

void NetworkEngine::onEstablished(Connection* connection)
{
    Peer* peer = peerOf(connection);
    if (!peer)
        return;
    peer->ultrapeer = connection->peerIsUltrapeer();
    if (peer->outgoing)
        m_cache.succeeded(peer->address);
    // Hosts the peer suggests are worth knowing.
    for (const HostAddress& host : ParseTryHosts(connection->peerHeaders().header("X-Try-Ultrapeers")))
        m_cache.add(HostCache::Ultrapeers, host);
    // A leaf tells its ultrapeer which queries may reach it.
    if (!settings.ultrapeer && peer->ultrapeer) {
        QueryRouteTable table;
        for (const SharedIndex::File& file : m_shares.files()) {
            table.addKeywords(file.name);
            table.addUrn(file.sha1Urn);
        }
        for (const Message& message : table.messages())
            connection->send(message);
    }
    emit nodesChanged(nodeCount());
}

void NetworkEngine::onClosed(Connection* connection)
{
    m_routes.forget(connection);
    m_pushRoutes.forget(connection);
    std::erase_if(m_peers, [connection](const std::unique_ptr<Peer>& p) { return p->connection == connection; });
    connection->deleteLater();
    emit nodesChanged(nodeCount());
    if (m_disconnecting && m_peers.empty()) {
        m_disconnecting = false;
        m_running = false;
        // Reported after the current call, once the goodbyes are on their way.
        QTimer::singleShot(0, this, &NetworkEngine::disconnected);
    }
}

void NetworkEngine::disconnectNetwork()
{
    m_maintenance.stop();
    m_disconnecting = true;
    if (m_peers.empty()) {
        m_disconnecting = false;
        m_running = false;
        QTimer::singleShot(0, this, &NetworkEngine::disconnected);
        return;
    }
    std::vector<Connection*> connections;
    for (const auto& peer : m_peers)
        connections.push_back(peer->connection);
    for (Connection* connection : connections)
        connection->close("Disconnecting");
}

uint32_t NetworkEngine::ownIp() const
{
    return m_server ? m_server->serverAddress().toIPv4Address() : 0;
}

void NetworkEngine::onMessage(Connection* connection, const Message& message)
{
    Peer* peer = peerOf(connection);
    if (!peer)
        return;
    peer->lastHeard.start();
    const MessageHeader& h = message.header;
    // Absurd hop counts are not passed on, nor answered.
    if (int(h.ttl) + int(h.hops) > kMaxTtlPlusHops + 3)
        return;
    switch (h.type) {
    case Ping:
        answerPing(*peer, message);
        break;
    case Pong:
        if (const auto pong = PongPayload::decode(message.payload)) {
            bool ultrapeer = false;
            for (const GgepExtension& e : pong->ggep)
                ultrapeer = ultrapeer || e.id == "UP";
            m_cache.add(ultrapeer ? HostCache::Ultrapeers : HostCache::Hosts,
                        HostAddress{pong->ip, pong->port});
        }
        break;
    case Query:
        handleQuery(*peer, message);
        break;
    case QueryHit:
        handleHit(connection, message);
        break;
    case Push:
        handlePush(connection, message);
        break;
    case RouteTable:
        if (!peer->table.apply(message.payload))
            connection->close();
        break;
    case Bye:
        connection->close();
        break;
    default:
        break; // unknown types are skipped
    }
}

void NetworkEngine::answerPing(Peer& peer, const Message& message)
{
    PongPayload pong;
    pong.port = listenPort();
    pong.ip = ownIp();
    pong.files = uint32_t(m_shares.files().size());
    uint64_t bytes = 0;
    for (const SharedIndex::File& file : m_shares.files())
        bytes += file.size;
    pong.kilobytes = uint32_t(bytes / 1024);
    if (settings.ultrapeer)
        pong.ggep = {{"UP", QByteArray("\x01\x00\x00", 3)}};
    peer.connection->send(
        Message{{message.header.guid, Pong, uint8_t(message.header.hops + 1), 0, 0}, pong.encode()});
}

void NetworkEngine::handleQuery(Peer& from, const Message& message)
{
    // A leaf's ultrapeer sends it only what its table lets through; leaves never route.
    if (m_routes.contains(message.header.guid) || m_ownQueries.contains(message.header.guid))
        return;
    const auto query = QueryPayload::decode(message.payload);
    if (!query)
        return;
    m_routes.remember(message.header.guid, from.connection);

    const auto matches = m_shares.match(query->text, query->urns, settings.maxHitsPerQuery);
    if (!matches.empty()) {
        QueryHitPayload hit;
        hit.port = listenPort();
        hit.ip = ownIp();
        // Without a listening socket the file can only be had by a push.
        hit.needsPush = !m_server;
        hit.speed = 1000;
        hit.vendor = settings.vendor;
        hit.serventGuid = m_serventGuid;
        // Hits of a few records each; they carry the query's GUID, which is how they find
        // their way back.
        for (size_t first = 0; first < matches.size(); first += kRecordsPerHit) {
            hit.results.clear();
            for (size_t i = first; i < std::min(matches.size(), first + kRecordsPerHit); ++i)
                hit.results.push_back({matches[i]->index, matches[i]->size, matches[i]->name,
                                       matches[i]->sha1Urn});
            from.connection->send(Message{
                {message.header.guid, QueryHit, uint8_t(int(message.header.hops) + 1), 0, 0},
                hit.encode()});
        }
    }
    if (!settings.ultrapeer)
        return;
    // Leaves are the last hop of their ultrapeer: a query that reaches it with its last TTL
    // still goes to the leaves whose tables may match it, but no further ultrapeer.
    Message forward = message;
    forward.header.ttl = uint8_t(std::max(message.header.ttl - 1, 1));
    forward.header.hops = uint8_t(message.header.hops + 1);
    for (const auto& peer : m_peers) {
        if (peer->connection == from.connection || !peer->connection->isEstablished())
            continue;
        if (peer->ultrapeer) {
            if (message.header.ttl > 1)
                peer->connection->send(forward);
        } else if (peer->table.received() ? peer->table.mayMatch(query->text, query->urns)
                                          : true) {
            // Leaves get the query with TTL 1: they answer, they do not route.
            Message toLeaf = forward;
            toLeaf.header.ttl = 1;
            peer->connection->send(toLeaf);
        }
    }
}

void NetworkEngine::handleHit(Connection* from, const Message& message)
{
    const QByteArray& guid = message.header.guid;
    // A hit ends with its servent's GUID: pushes to that servent go back this way.
    if (message.payload.size() >= 27)
        m_pushRoutes.remember(message.payload.right(16), from);
    if (m_ownQueries.contains(guid)) {
        if (const auto hit = QueryHitPayload::decode(message.payload))
            emit hitReceived(guid, *hit);
        return;
    }
    Connection* route = m_routes.route(guid);
    if (!route || message.header.ttl <= 1)
        return;
    Message back = message;
    back.header.ttl = uint8_t(message.header.ttl - 1);
    back.header.hops = uint8_t(message.header.hops + 1);
    route->send(back);
}

QByteArray NetworkEngine::query(const QString& text, const QList<QByteArray>& urns, QByteArray guid)
{
    QueryPayload payload;
    payload.flags = QueryUsesFlags | QueryGgepH | (m_server ? 0 : QueryFirewalled);
    payload.text = text;
    payload.urns = urns;
    if (guid.size() != 16)
        guid = NewGuid();
    m_ownQueries.insert(guid);
    const Message message{{guid, Query, uint8_t(kQueryTtl), 0, 0}, payload.encode()};
    for (const auto& peer : m_peers)
        if (peer->connection->isEstablished())
            peer->connection->send(message);
    return guid;
}

void NetworkEngine::forgetQuery(const QByteArray& guid)
{
    m_ownQueries.remove(guid);
}

} // namespace gnutella
