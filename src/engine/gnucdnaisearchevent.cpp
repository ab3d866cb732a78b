#include "engine/gnucdnaisearchevent.h"

const QUuid TGnucDNAISearchEvent::IID(QStringLiteral("{E2032EC2-A9AC-4ED7-9BDB-EBECACF076F2}"));

TGnucDNAISearchEvent::TGnucDNAISearchEvent(const QString& name, QObject* owner)
    : TGnucDNAEventsBaseSink(name, IID, "TGnucDNAISearchEvent", owner)
{
}

HResult TGnucDNAISearchEvent::DoInvoke(int32_t dispId, const DispParams& params,
                                       const std::vector<int>& map)
{
    const auto arg = [&](int i) { return argument(params, map, i).toInt(); };
    const auto searchResult = [&](const SearchResultHandler& handler) {
        return raise([&] {
            if (handler)
                handler(this, arg(0), arg(1));
        });
    };
    const auto search = [&](const SearchHandler& handler) {
        return raise([&] {
            if (handler)
                handler(this, arg(0));
        });
    };
    switch (dispId) {
    case 1:
        return searchResult(OnUpdate);
    case 2:
        return searchResult(OnResult);
    case 3:
        return search(OnRefresh);
    case 4:
        return raise([&] {
            if (OnBrowseUpdate)
                OnBrowseUpdate(this, arg(0), arg(1), arg(2));
        });
    case 5:
        return search(OnProgress);
    case 6:
        return search(OnPaused);
    default:
        return HResult::memberNotFound();
    }
}
