#pragma once

#include "engine/gnucdnaeventsbasesink.h"

#include <functional>

// The download events of the engine.
class TGnucDNAIDownloadEvent final : public TGnucDNAEventsBaseSink {
    Q_OBJECT
public:
    TGnucDNAIDownloadEvent(const QString& name, QObject* owner);

    static const QUuid IID;

    std::function<void(TGnucDNAIDownloadEvent*, int32_t downloadId)> OnUpdate;

protected:
    HResult DoInvoke(int32_t dispId, const DispParams& params,
                     const std::vector<int>& map) override;
};
