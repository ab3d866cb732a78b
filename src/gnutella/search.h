#pragma once

#include "gnutella/automationobject.h"
#include "gnutella/enginestate.h"

#include <memory>

class Download;

// Searches and their results. Hits of the same file (by SHA-1 URN, else by name and size) from
// several hosts are one result whose host count grows. A search pauses itself after a number
// of new results and gathers more when asked to.
class Search final : public AutomationObject, public std::enable_shared_from_this<Search> {
public:
    static constexpr int PauseAfterResults = 150;
    static constexpr int MaxResults = 5000;

    Search(std::shared_ptr<EngineState> state, std::shared_ptr<Download> downloads);
    // Starts taking hits; called once the object is shared.
    void init();

private:
    EngineState::SearchRecord& search(int32_t searchId);
    const EngineState::ResultRecord& result(int32_t searchId, int32_t resultId);
    void sendQuery(int32_t searchId);
    void hitArrived(const QByteArray& guid, const gnutella::QueryHitPayload& hit);
    // Raises an event after the current call has returned.
    void raise(int32_t dispId, std::initializer_list<Variant> args);

    std::shared_ptr<EngineState> m_state;
    std::shared_ptr<Download> m_downloads;
    ConnectionPoint& m_events;
};
