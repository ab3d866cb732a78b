#pragma once

#include "gnutella/automationobject.h"

#include <memory>

class EngineState;
class Network;

// The engine's root object: identity, version, connecting and disconnecting, and the
// sub-objects.
class Core final : public AutomationObject {
public:
    static constexpr const char* Version = "1.0.2.6";

    Core();
    ~Core() override;

private:
    std::shared_ptr<EngineState> m_state;
    std::shared_ptr<Network> m_network;
    std::shared_ptr<Dispatch> m_objects[24];
};
