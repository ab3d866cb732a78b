#pragma once

#include "gnutella/automationobject.h"

#include <memory>

class EngineState;

// The engine's preferences. 29 and 30 are how many ultrapeers a leaf keeps connections to
// (the client sets 4) and how many it tries at once while connecting (6).
class Prefs final : public AutomationObject {
public:
    explicit Prefs(std::shared_ptr<EngineState> state);

private:
    std::shared_ptr<EngineState> m_state;
};
