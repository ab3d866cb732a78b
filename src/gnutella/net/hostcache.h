#pragma once

#include "gnutella/protocol/handshake.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace gnutella {

// The engine's known hosts, in three lists that match its three cache files: hosts, ultrapeers
// and web caches. Host files hold one "a.b.c.d:port" a line (anything after a blank is
// ignored); the web cache file holds one http:// address a line. Lines that do not read as such
// are skipped. Files are written whole through a temporary file, so a failed write keeps the
// old list. Hosts that failed are tried again only after a wait that doubles each time.
class HostCache final {
public:
    enum List { Hosts = 0, Ultrapeers = 1, WebCaches = 2 };
    static constexpr int MaxEntries = 2000;

    bool load(int list, const QString& path);
    bool save(int list, const QString& path) const;

    void add(List list, const HostAddress& host);
    void addWebCache(const QString& url);
    QList<HostAddress> hosts(List list) const { return m_hosts[list]; }
    QStringList webCaches() const { return m_webCaches; }

    // A host to try now, ultrapeers first, none that is waiting out a failure or is excluded.
    std::optional<HostAddress> next(qint64 nowMs, const QList<HostAddress>& exclude) const;
    void failed(const HostAddress& host, qint64 nowMs);
    void succeeded(const HostAddress& host);

private:
    QList<HostAddress> m_hosts[2];
    QStringList m_webCaches;
    struct Backoff {
        qint64 until = 0;
        qint64 wait = 0;
    };
    QHash<QString, Backoff> m_backoff;
};

} // namespace gnutella
