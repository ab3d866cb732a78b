#pragma once

#include "gnutella/automationobject.h"
#include "gnutella/enginestate.h"

#include <memory>

// Downloads: their list, figures and commands.
class Download final : public AutomationObject, public std::enable_shared_from_this<Download> {
public:
    explicit Download(std::shared_ptr<EngineState> state);

    // Starts a download of a result; returns its DownloadID.
    int32_t start(const QString& fileName, int32_t size, int32_t hosts);

private:
    EngineState::DownloadRecord& download(int32_t downloadId);
    QString partialPath(const EngineState::DownloadRecord& record) const;
    // Tells the client, after the current call, that a download changed.
    void raiseUpdate(int32_t downloadId);

    std::shared_ptr<EngineState> m_state;
    ConnectionPoint& m_events;
};
