#include "gnutella/core.h"

#include "gnutella/cache.h"
#include "gnutella/download.h"
#include "gnutella/enginestate.h"
#include "gnutella/network.h"
#include "gnutella/prefs.h"
#include "gnutella/search.h"

#include <QTimer>

namespace {

// Objects the client holds but never calls.
class HeldObject final : public AutomationObject {};

// How long a disconnect takes to complete: the peers are told goodbye first.
constexpr int kDisconnectMilliseconds = 300;

} // namespace

Core::Core() : m_state(std::make_shared<EngineState>())
{
    m_network = std::make_shared<Network>(m_state);
    auto downloads = std::make_shared<Download>(m_state);
    m_objects[5] = m_network;
    m_objects[6] = std::make_shared<Cache>(m_state);
    m_objects[9] = std::make_shared<Prefs>(m_state);
    m_objects[10] = std::make_shared<Search>(m_state, downloads);
    m_objects[11] = downloads;
    for (int held : {7, 12, 21, 23})
        m_objects[held] = std::make_shared<HeldObject>();
    for (int id : {5, 6, 7, 9, 10, 11, 12, 21, 23})
        method(id, 0, [this, id](const Args&) { return Variant(m_objects[id]); });

    method(18, 0, [](const Args&) { return Variant(QString::fromLatin1(Version)); });
    property(16, [this](const Variant& v) { m_state->identity.clientName = v.toString(); });
    property(17, [this](const Variant& v) { m_state->identity.clientVersion = v.toString(); });
    property(22, [this](const Variant& v) { m_state->identity.vendorCode = v.toString(); });
    method(8, 0, [this](const Args&) { return Variant(m_state->connected); });
    method(3, 0, [this](const Args&) {
        if (!m_state->connected) {
            m_state->connected = true;
            m_state->disconnecting = false;
        }
        return Variant();
    });
    method(4, 0, [this](const Args&) {
        if (m_state->connected && !m_state->disconnecting) {
            m_state->disconnecting = true;
            const std::weak_ptr<Network> network = m_network;
            QTimer::singleShot(kDisconnectMilliseconds, m_state.get(), [state = m_state.get(), network] {
                if (!state->disconnecting)
                    return;
                state->connected = false;
                state->disconnecting = false;
                state->nodeCount = 0;
                if (const auto alive = network.lock())
                    alive->raiseChange(0);
            });
        }
        return Variant();
    });
}

Core::~Core() = default;
