#pragma once

#include "gnutella/automationobject.h"

#include <memory>

class Download;
class EngineState;

// The engine's preferences. 29 and 30 are how many ultrapeers a leaf keeps connections to
// (the client sets 4) and how many it tries at once while connecting (6).
class Prefs final : public AutomationObject {
public:
    Prefs(std::shared_ptr<EngineState> state, std::shared_ptr<Download> downloads);

private:
    std::shared_ptr<EngineState> m_state;
    std::shared_ptr<Download> m_downloads;
};
