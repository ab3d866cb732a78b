#include "gnutella/network.h"

#include "gnutella/enginestate.h"

Network::Network(std::shared_ptr<EngineState> state)
    : m_state(std::move(state)), m_events(events(QUuid(QLatin1String(EngineState::NetworkEvents))))
{
    method(15, 0, [this](const Args&) { return Variant(m_state->nodeCount); });
}

void Network::raiseChange(int32_t nodeId)
{
    m_events.fire(1, {nodeId});
}
