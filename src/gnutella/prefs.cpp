#include "gnutella/prefs.h"

#include "gnutella/enginestate.h"

#include <algorithm>

Prefs::Prefs(std::shared_ptr<EngineState> state) : m_state(std::move(state))
{
    auto& p = m_state->prefs;
    auto& network = m_state->network->settings;
    property(29, [&p, &network](const Variant& v) {
        p.pref29 = v.toInt();
        network.targetUltrapeers = std::clamp(p.pref29, 1, 16);
    });
    property(30, [&p, &network](const Variant& v) {
        p.pref30 = v.toInt();
        network.concurrentAttempts = std::clamp(p.pref30, 1, 32);
    });
    // Node mode, beyond the client's contract: 100 act as an ultrapeer, 101 listen on
    // "a.b.c.d:port", 102 the folder to share, 103 refill an empty host cache from the
    // bootstrap seeds (on unless turned off).
    property(100, [this](const Variant& v) { m_state->network->settings.ultrapeer = v.toBool(); });
    property(101, [this](const Variant& v) {
        // Port 0 lets the system choose; Core#101 tells which it chose.
        const QString text = v.toString();
        const QHostAddress address(text.section(QLatin1Char(':'), 0, 0));
        bool ok = false;
        const uint port = text.section(QLatin1Char(':'), 1, 1).toUInt(&ok);
        if (address.isNull() || !ok || port > 65535 ||
            !m_state->network->listen(address, quint16(port)))
            throw EngineFailure{QStringLiteral("Cannot listen on %1").arg(text)};
    });
    property(103, [this](const Variant& v) { m_state->network->settings.bootstrap = v.toBool(); });
    property(102, [this](const Variant& v) {
        m_state->network->settings.sharedFolder = v.toString();
        m_state->network->rescanShares();
    });
    property(33, [&p](const Variant& v) { p.downloadsPath = v.toString(); });
    property(62, [&p](const Variant& v) { p.partialsPath = v.toString(); });
    property(45, [&p](const Variant& v) { p.maxDownloads = v.toInt(); });
    property(49, [&p](const Variant& v) { p.maxKbpsDownloads = v.toSingle(); });
}
