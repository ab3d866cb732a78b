#include "gnutella/net/bootstrap.h"

#include "gnutella/protocol/ggep.h"
#include "gnutella/protocol/messageheader.h"
#include "gnutella/protocol/pong.h"
#include "gnutella/protocol/wire.h"

#include <QHostInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUdpSocket>
#include <QUrlQuery>

namespace gnutella {

const QStringList Bootstrap::SeedUdpCaches = {
    QStringLiteral("2.uhc.gtk-gnutella.nl:4876"), QStringLiteral("1.uhc.gtk-gnutella.nl:19104"),
    QStringLiteral("useast.gnutella.dyslexicfish.net:3558"),
    QStringLiteral("uswest.gnutella.dyslexicfish.net:3558"),
    QStringLiteral("uk.gnutella.dyslexicfish.net:3558"),
    QStringLiteral("au.gnutella.dyslexicfish.net:3558")};
const QStringList Bootstrap::SeedWebCaches = {QStringLiteral("http://midian.jayl.de/g2/bazooka.php"),
                                              QStringLiteral("http://bj.ddns.net/beacon/gwc.php"),
                                              QStringLiteral("http://gweb3.4octets.co.uk/gwc.php")};

namespace {
constexpr qint64 kMaxAnswerBytes = 64 * 1024;
constexpr int kTimeoutMs = 15000;
constexpr int kMaxWebCachesPerRound = 3;
} // namespace

Bootstrap::Bootstrap(HostCache& cache, QByteArray vendor, QByteArray version, QObject* parent)
    : QObject(parent), m_cache(cache), m_vendor(std::move(vendor)), m_version(std::move(version))
{
}

Bootstrap::~Bootstrap() = default;

void Bootstrap::run()
{
    if (m_pending > 0 || (m_lastRound.isValid() && m_lastRound.elapsed() < RoundIntervalMs))
        return;
    m_lastRound.start();
    if (!m_udp) {
        m_udp = std::make_unique<QUdpSocket>();
        m_udp->bind(QHostAddress::AnyIPv4, 0);
        connect(m_udp.get(), &QUdpSocket::readyRead, this, [this] {
            while (m_udp->hasPendingDatagrams()) {
                QByteArray datagram(qsizetype(std::min<qint64>(m_udp->pendingDatagramSize(), 65536)), '\0');
                m_udp->readDatagram(datagram.data(), datagram.size());
                ReadUdpPong(datagram, m_cache);
            }
        });
    }
    for (const QString& cache : SeedUdpCaches)
        pingUdpCache(cache);
    QStringList webCaches = m_cache.webCaches();
    if (webCaches.isEmpty())
        webCaches = SeedWebCaches;
    for (const QString& url : webCaches.mid(0, kMaxWebCachesPerRound))
        askWebCache(url);
}

void Bootstrap::done()
{
    if (--m_pending == 0)
        emit finished();
}

void Bootstrap::pingUdpCache(const QString& hostPort)
{
    const QString host = hostPort.section(QLatin1Char(':'), 0, 0);
    const quint16 port = quint16(hostPort.section(QLatin1Char(':'), 1, 1).toUInt());
    ++m_pending;
    QHostInfo::lookupHost(host, this, [this, port](const QHostInfo& info) {
        for (const QHostAddress& address : info.addresses()) {
            if (address.protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            // A ping asking for cached pongs (GGEP "SCP"), one datagram.
            const QByteArray payload = EncodeGgep({{"SCP", QByteArray(1, '\x01')}});
            m_udp->writeDatagram(Message{{NewGuid(), Ping, 1, 0, 0}, payload}.encode(), address, port);
            break;
        }
        done();
    });
}

void Bootstrap::askWebCache(const QString& url)
{
    if (!m_web)
        m_web = std::make_unique<QNetworkAccessManager>();
    QUrl address(url);
    if (address.scheme() != QLatin1String("http"))
        return;
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("get"), QStringLiteral("1"));
    query.addQueryItem(QStringLiteral("net"), QStringLiteral("gnutella"));
    query.addQueryItem(QStringLiteral("client"), QString::fromLatin1(m_vendor));
    query.addQueryItem(QStringLiteral("version"), QString::fromLatin1(m_version));
    address.setQuery(query);
    QNetworkRequest request(address);
    request.setTransferTimeout(kTimeoutMs);
    QNetworkReply* reply = m_web->get(request);
    ++m_pending;
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > kMaxAnswerBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        if (reply->error() == QNetworkReply::NoError)
            ReadWebCacheAnswer(reply->read(kMaxAnswerBytes), m_cache);
        reply->deleteLater();
        done();
    });
}

void Bootstrap::ReadWebCacheAnswer(const QByteArray& body, HostCache& cache)
{
    QByteArray text = body.left(kMaxAnswerBytes);
    text.replace('\r', '\n');
    int lines = 0;
    for (const QByteArray& raw : text.split('\n')) {
        if (++lines > 2000)
            break;
        const QByteArray line = raw.trimmed();
        const QList<QByteArray> fields = line.split('|');
        if (fields.size() >= 2 && fields[0].toLower() == "h") {
            if (const auto host = ParseHostAddress(fields[1]))
                cache.add(HostCache::Ultrapeers, *host);
        } else if (fields.size() >= 2 && fields[0].toLower() == "u") {
            const QString url = QString::fromLatin1(fields[1].trimmed());
            if (url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) && url.size() < 512)
                cache.addWebCache(url);
        } else if (const auto host = ParseHostAddress(line)) {
            cache.add(HostCache::Ultrapeers, *host); // a version 1 host file
        }
    }
}

void Bootstrap::ReadUdpPong(const QByteArray& datagram, HostCache& cache)
{
    const auto header = MessageHeader::decode(datagram.constData(), datagram.size());
    if (!header || header->type != Pong || header->length != uint32_t(datagram.size() - MessageHeader::Size))
        return;
    const auto pong = PongPayload::decode(datagram.mid(MessageHeader::Size));
    if (!pong)
        return;
    if (pong->ip != 0 && pong->port != 0)
        cache.add(HostCache::Hosts, HostAddress{pong->ip, pong->port});
    for (const GgepExtension& e : pong->ggep) {
        if (e.id != "IPP")
            continue;
        for (qsizetype at = 0; at + 6 <= e.data.size() && at < 6 * 200; at += 6) {
            const HostAddress host{big32(e.data.constData() + at), little16(e.data.constData() + at + 4)};
            if (host.ip != 0 && host.port != 0)
                cache.add(HostCache::Ultrapeers, host);
        }
    }
}

} // namespace gnutella
