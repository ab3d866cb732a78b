#pragma once

#include "gnutella/automationobject.h"
#include "gnutella/enginestate.h"

#include <memory>

// Downloads: their list, figures and commands. The transfers run on the network thread; their
// figures come back after every change and are what the client reads.
class Download final : public AutomationObject, public std::enable_shared_from_this<Download> {
public:
    explicit Download(std::shared_ptr<EngineState> state);
    // Starts taking the transfers' figures; called once the object is shared.
    void init();

    // Starts a download of a search result; returns its DownloadID.
    int32_t start(const EngineState::ResultRecord& result);
    // Lists the downloads kept from an earlier run (after the partials folder is known).
    void adoptKept();

private:
    EngineState::DownloadRecord& download(int32_t downloadId);
    void figuresArrived(const gnutella::TransferFigures& figures);
    // Tells the client, after the current call, that a download changed.
    void raiseUpdate(int32_t downloadId);

    std::shared_ptr<EngineState> m_state;
    ConnectionPoint& m_events;
};
