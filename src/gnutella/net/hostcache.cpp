#include "gnutella/net/hostcache.h"

#include <QFile>
#include <QSaveFile>

namespace gnutella {

namespace {
constexpr qint64 kFirstWaitMs = 60 * 1000;
constexpr qint64 kLongestWaitMs = 60 * 60 * 1000;
constexpr qint64 kMaxLineBytes = 1024;
} // namespace

bool HostCache::load(int list, const QString& path)
{
    if (list < 0 || list > 2)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    int lines = 0;
    while (!file.atEnd() && lines++ < MaxEntries * 2) {
        const QByteArray line = file.readLine(kMaxLineBytes).trimmed();
        if (line.isEmpty())
            continue;
        if (list == WebCaches) {
            if (line.toLower().startsWith("http://"))
                addWebCache(QString::fromLatin1(line.split(' ').value(0)));
        } else if (const auto host = ParseHostAddress(line.split(' ').value(0))) {
            add(List(list), *host);
        }
    }
    return true;
}

bool HostCache::save(int list, const QString& path) const
{
    if (list < 0 || list > 2)
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (list == WebCaches) {
        for (const QString& url : m_webCaches)
            file.write(url.toLatin1() + "\r\n");
    } else {
        for (const HostAddress& host : m_hosts[list])
            file.write(host.text().toLatin1() + "\r\n");
    }
    return file.commit();
}

void HostCache::add(List list, const HostAddress& host)
{
    if (list == WebCaches || host.ip == 0)
        return;
    QList<HostAddress>& hosts = m_hosts[list];
    // Newest first; a known host moves to the front.
    hosts.removeAll(host);
    hosts.prepend(host);
    if (hosts.size() > MaxEntries)
        hosts.removeLast();
}

void HostCache::addWebCache(const QString& url)
{
    if (m_webCaches.contains(url) || m_webCaches.size() >= MaxEntries)
        return;
    m_webCaches << url;
}

std::optional<HostAddress> HostCache::next(qint64 nowMs, const QList<HostAddress>& exclude) const
{
    for (const QList<HostAddress>& hosts : {m_hosts[Ultrapeers], m_hosts[Hosts]})
        for (const HostAddress& host : hosts) {
            if (exclude.contains(host))
                continue;
            const auto backoff = m_backoff.constFind(host.text());
            if (backoff != m_backoff.constEnd() && backoff->until > nowMs)
                continue;
            return host;
        }
    return std::nullopt;
}

void HostCache::failed(const HostAddress& host, qint64 nowMs)
{
    Backoff& backoff = m_backoff[host.text()];
    backoff.wait = backoff.wait == 0 ? kFirstWaitMs : std::min(backoff.wait * 2, kLongestWaitMs);
    backoff.until = nowMs + backoff.wait;
}

void HostCache::succeeded(const HostAddress& host)
{
    m_backoff.remove(host.text());
}

} // namespace gnutella
