#include "gnutella/core.h"

#include "gnutella/cache.h"
#include "gnutella/download.h"
#include "gnutella/enginestate.h"
#include "gnutella/network.h"
#include "gnutella/prefs.h"
#include "gnutella/search.h"


namespace {

// Objects the client holds but never calls.
class HeldObject final : public AutomationObject {};

} // namespace

Core::Core() : m_state(std::make_shared<EngineState>())
{
    m_state->network = std::make_unique<NetworkThread>();
    // The program refills an empty host cache from the bootstrap seeds (Prefs#103 turns it off).
    m_state->network->post([](gnutella::NetworkEngine& e, gnutella::HostCache&) { e.settings.bootstrap = true; });
    m_network = std::make_shared<Network>(m_state);
    m_network->init();
    auto downloads = std::make_shared<Download>(m_state);
    downloads->init();
    m_objects[5] = m_network;
    m_objects[6] = std::make_shared<Cache>(m_state);
    m_objects[9] = std::make_shared<Prefs>(m_state, downloads);
    auto search = std::make_shared<Search>(m_state, downloads);
    search->init();
    m_objects[10] = search;
    m_objects[11] = downloads;
    for (int held : {7, 12, 21, 23})
        m_objects[held] = std::make_shared<HeldObject>();
    for (int id : {5, 6, 7, 9, 10, 11, 12, 21, 23})
        method(id, 0, [this, id](const Args&) { return Variant(m_objects[id]); });

    method(18, 0, [](const Args&) { return Variant(QString::fromLatin1(Version)); });
    // The identity names us to peers: "Name/Version" as user agent, the vendor code in hits.
    const auto identify = [this] {
        const auto& id = m_state->identity;
        QByteArray agent = (id.clientName.isEmpty() ? QStringLiteral("Tavrin") : id.clientName).toUtf8() +
                           '/' + (id.clientVersion.isEmpty() ? QStringLiteral("1.0.0") : id.clientVersion).toUtf8();
        // It goes into a handshake header: no line breaks or other control characters.
        for (char& c : agent)
            if (static_cast<unsigned char>(c) < 32)
                c = ' ';
        const QByteArray vendor = id.vendorCode.size() == 4 ? id.vendorCode.toLatin1() : QByteArray();
        m_state->network->post([agent, vendor](gnutella::NetworkEngine& e, gnutella::HostCache&) {
            e.settings.userAgent = agent;
            if (!vendor.isEmpty())
                e.settings.vendor = vendor;
        });
        m_state->network->post([agent](gnutella::DownloadManager& m) { m.userAgent = agent; });
    };
    property(16, [this, identify](const Variant& v) {
        m_state->identity.clientName = v.toString().left(64);
        identify();
    });
    property(17, [this, identify](const Variant& v) {
        m_state->identity.clientVersion = v.toString().left(32);
        identify();
    });
    property(22, [this, identify](const Variant& v) {
        m_state->identity.vendorCode = v.toString();
        identify();
    });
    method(8, 0, [this](const Args&) { return Variant(m_state->connected); });
    method(3, 0, [this](const Args&) {
        if (!m_state->connected) {
            m_state->connected = true;
            m_state->disconnecting = false;
            m_state->network->post([](gnutella::NetworkEngine& e, gnutella::HostCache&) { e.connectNetwork(); });
        }
        return Variant();
    });
    method(4, 0, [this](const Args&) {
        if (m_state->connected && !m_state->disconnecting) {
            m_state->disconnecting = true;
            m_state->network->post([](gnutella::NetworkEngine& e, gnutella::HostCache&) { e.disconnectNetwork(); });
        }
        return Variant();
    });
    // Node mode, beyond the client's contract: the port listened on (0 when not listening).
    method(101, 0, [this](const Args&) { return Variant(int32_t(m_state->network->listenPort())); });
    // Node mode: connect to one peer given as "a.b.c.d:port".
    method(100, 1, [this](const Args& a) {
        const auto host = gnutella::ParseHostAddress(a[0].toString().toLatin1());
        if (!host)
            throw EngineFailure{QStringLiteral("Not a host address: %1").arg(a[0].toString())};
        m_state->connected = true;
        m_state->network->post([host = *host](gnutella::NetworkEngine& e, gnutella::HostCache&) { e.connectTo(host); });
        return Variant();
    });
    QObject::connect(m_state->network->engine(), &gnutella::NetworkEngine::disconnected, m_state.get(),
                     [state = m_state.get()] {
                         state->connected = false;
                         state->disconnecting = false;
                     });
}

Core::~Core() = default;
