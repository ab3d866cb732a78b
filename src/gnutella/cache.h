#pragma once

#include "gnutella/automationobject.h"

#include <memory>

class EngineState;

// Loads and saves the three host-cache files: hosts, ultrapeers and web caches.
class Cache final : public AutomationObject {
public:
    explicit Cache(std::shared_ptr<EngineState> state);

private:
    void load(int list, const QString& path);
    void save(int list, const QString& path) const;

    std::shared_ptr<EngineState> m_state;
};
