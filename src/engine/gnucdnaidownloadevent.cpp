#include "engine/gnucdnaidownloadevent.h"

const QUuid TGnucDNAIDownloadEvent::IID(QStringLiteral("{0BE385A3-85A5-4722-B677-68DAE891FF21}"));

TGnucDNAIDownloadEvent::TGnucDNAIDownloadEvent(const QString& name, QObject* owner)
    : TGnucDNAEventsBaseSink(name, IID, "TGnucDNAIDownloadEvent", owner)
{
}

HResult TGnucDNAIDownloadEvent::DoInvoke(int32_t dispId, const DispParams& params,
                                         const std::vector<int>& map)
{
    if (dispId != 1)
        return HResult::memberNotFound();
    return raise([&] {
        if (OnUpdate)
            OnUpdate(this, argument(params, map, 0).toInt());
    });
}
