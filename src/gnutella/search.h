#pragma once

#include "gnutella/automationobject.h"
#include "gnutella/enginestate.h"

#include <memory>

class Download;

// Searches and their results.
class Search final : public AutomationObject {
public:
    Search(std::shared_ptr<EngineState> state, std::shared_ptr<Download> downloads);

private:
    EngineState::SearchRecord& search(int32_t searchId);
    const EngineState::ResultRecord& result(int32_t searchId, int32_t resultId);

    std::shared_ptr<EngineState> m_state;
    std::shared_ptr<Download> m_downloads;
    ConnectionPoint& m_events;
};
