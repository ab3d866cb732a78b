#include "gnutella/network.h"

#include "gnutella/enginestate.h"

Network::Network(std::shared_ptr<EngineState> state)
    : m_state(std::move(state)), m_events(events(QUuid(QLatin1String(EngineState::NetworkEvents))))
{
    method(15, 0, [this](const Args&) { return Variant(int32_t(m_state->network->nodeCount())); });
}

void Network::init()
{
    const std::weak_ptr<Network> self = weak_from_this();
    QObject::connect(m_state->network->engine(), &gnutella::NetworkEngine::nodesChanged, m_state.get(),
                     [self](int) {
                         if (const auto alive = self.lock())
                             alive->raiseChange(0);
                     });
}

void Network::raiseChange(int32_t nodeId)
{
    m_events.fire(1, {nodeId});
}
