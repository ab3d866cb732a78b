#pragma once

#include "gnutella/net/hostcache.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QUdpSocket;

namespace gnutella {

// Refills an empty host cache: UDP host caches are pinged for packed host lists, then web
// caches (GWebCache, version 2 requests) are asked for hosts and further caches. The built-in
// seeds are used only where the cache holds no web caches of its own. Each round is bounded in
// size and time, and rounds are at least a few minutes apart.
class Bootstrap final : public QObject {
    Q_OBJECT
public:
    static const QStringList SeedUdpCaches;
    static const QStringList SeedWebCaches;
    static constexpr qint64 RoundIntervalMs = 5 * 60 * 1000;

    Bootstrap(HostCache& cache, QByteArray vendor, QByteArray version, QObject* parent = nullptr);
    ~Bootstrap() override;

    // Starts a round unless one ran lately.
    void run();
    bool running() const { return m_pending > 0; }

    // Parsers of what caches answer, for tests and fuzzing: a web cache's lines, and a UDP
    // pong's packed host list.
    static void ReadWebCacheAnswer(const QByteArray& body, HostCache& cache);
    static void ReadUdpPong(const QByteArray& datagram, HostCache& cache);

signals:
    void finished();

private:
    void pingUdpCache(const QString& hostPort);
    void askWebCache(const QString& url);
    void done();

    HostCache& m_cache;
    QByteArray m_vendor;
    QByteArray m_version;
    std::unique_ptr<QNetworkAccessManager> m_web;
    std::unique_ptr<QUdpSocket> m_udp;
    QElapsedTimer m_lastRound;
    int m_pending = 0;
};

} // namespace gnutella
