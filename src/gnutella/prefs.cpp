#include "gnutella/prefs.h"

#include "gnutella/enginestate.h"

#include <algorithm>

Prefs::Prefs(std::shared_ptr<EngineState> state) : m_state(std::move(state))
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
    property(33, [&p](const Variant& v) { p.downloadsPath = v.toString(); });
    property(62, [&p](const Variant& v) { p.partialsPath = v.toString(); });
    property(45, [&p](const Variant& v) { p.maxDownloads = v.toInt(); });
    property(49, [&p](const Variant& v) { p.maxKbpsDownloads = v.toSingle(); });
}
