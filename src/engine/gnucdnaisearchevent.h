#pragma once

#include "engine/gnucdnaeventsbasesink.h"

#include <functional>

// The search events of the engine.
class TGnucDNAISearchEvent final : public TGnucDNAEventsBaseSink {
    Q_OBJECT
public:
    TGnucDNAISearchEvent(const QString& name, QObject* owner);

    static const QUuid IID;

    using SearchResultHandler = std::function<void(TGnucDNAISearchEvent*, int32_t searchId,
                                                   int32_t resultId)>;
    using SearchHandler = std::function<void(TGnucDNAISearchEvent*, int32_t searchId)>;
    SearchResultHandler OnUpdate;
    SearchResultHandler OnResult;
    SearchHandler OnRefresh;
    std::function<void(TGnucDNAISearchEvent*, int32_t searchId, int32_t state, int32_t progress)>
        OnBrowseUpdate;
    SearchHandler OnProgress;
    SearchHandler OnPaused;

protected:
    HResult DoInvoke(int32_t dispId, const DispParams& params,
                     const std::vector<int>& map) override;
};
