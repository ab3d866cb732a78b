#include "gnutella/prefs.h"

#include "gnutella/download.h"
#include "gnutella/enginestate.h"

#include <algorithm>

Prefs::Prefs(std::shared_ptr<EngineState> state, std::shared_ptr<Download> downloads)
    : m_state(std::move(state)), m_downloads(std::move(downloads))
{
    auto& p = m_state->prefs;
    NetworkThread& network = *m_state->network;
    property(29, [&p, &network](const Variant& v) {
        p.pref29 = v.toInt();
        const int count = std::clamp(p.pref29, 1, 16);
        network.post([count](gnutella::NetworkEngine& e, gnutella::HostCache&) { e.settings.targetUltrapeers = count; });
    });
    property(30, [&p, &network](const Variant& v) {
        p.pref30 = v.toInt();
        const int count = std::clamp(p.pref30, 1, 32);
        network.post([count](gnutella::NetworkEngine& e, gnutella::HostCache&) { e.settings.concurrentAttempts = count; });
    });
    // Node mode, beyond the client's contract: 100 act as an ultrapeer, 101 listen on
    // "a.b.c.d:port", 102 the folder to share, 103 refill an empty host cache from the
    // bootstrap seeds (on unless turned off).
    property(100, [&network](const Variant& v) {
        const bool on = v.toBool();
        network.post([on](gnutella::NetworkEngine& e, gnutella::HostCache&) { e.settings.ultrapeer = on; });
    });
    property(101, [&network](const Variant& v) {
        // Port 0 lets the system choose; Core#101 tells which it chose.
        const QString text = v.toString();
        const QHostAddress address(text.section(QLatin1Char(':'), 0, 0));
        bool ok = false;
        const uint port = text.section(QLatin1Char(':'), 1, 1).toUInt(&ok);
        bool listening = false;
        if (!address.isNull() && ok && port <= 65535)
            network.wait([&](gnutella::NetworkEngine& e, gnutella::HostCache&) {
                listening = e.listen(address, quint16(port));
                network.setListenPort(e.listenPort());
            });
        if (!listening)
            throw EngineFailure{QStringLiteral("Cannot listen on %1").arg(text)};
    });
    property(103, [&network](const Variant& v) {
        const bool on = v.toBool();
        network.post([on](gnutella::NetworkEngine& e, gnutella::HostCache&) { e.settings.bootstrap = on; });
    });
    property(102, [&network](const Variant& v) {
        const QString folder = v.toString();
        network.wait([&folder](gnutella::NetworkEngine& e, gnutella::HostCache&) {
            e.settings.sharedFolder = folder;
            e.rescanShares();
        });
    });
    // The transfers learn their folders and limits as they are set.
    const auto folders = [this] {
        const QString partials = m_state->prefs.partialsPath;
        const QString downloads = m_state->prefs.downloadsPath;
        if (partials.isEmpty())
            return;
        m_state->network->wait([&](gnutella::DownloadManager& m) { m.setFolders(partials, downloads); });
        if (m_downloads)
            m_downloads->adoptKept();
    };
    const auto limits = [this] {
        const int most = m_state->prefs.maxDownloads;
        const double kilobytes = m_state->prefs.maxKbpsDownloads;
        m_state->network->post([most, kilobytes](gnutella::DownloadManager& m) { m.setLimits(most, kilobytes); });
    };
    property(33, [&p, folders](const Variant& v) {
        p.downloadsPath = v.toString();
        folders();
    });
    property(62, [&p, folders](const Variant& v) {
        p.partialsPath = v.toString();
        folders();
    });
    property(45, [&p, limits](const Variant& v) {
        p.maxDownloads = v.toInt();
        limits();
    });
    property(49, [&p, limits](const Variant& v) {
        p.maxKbpsDownloads = v.toSingle();
        limits();
    });
}
