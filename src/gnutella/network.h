#pragma once

#include "gnutella/automationobject.h"

#include <memory>

class EngineState;

// The connection to the network: how many nodes are connected, and the change events.
class Network final : public AutomationObject, public std::enable_shared_from_this<Network> {
public:
    explicit Network(std::shared_ptr<EngineState> state);
    // Starts raising change events; called once the object is shared.
    void init();

    // Tells the client that the connection to a node changed.
    void raiseChange(int32_t nodeId);

private:
    std::shared_ptr<EngineState> m_state;
    ConnectionPoint& m_events;
};
