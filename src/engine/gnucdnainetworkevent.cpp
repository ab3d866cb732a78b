#include "engine/gnucdnainetworkevent.h"

const QUuid TGnucDNAINetworkEvent::IID(QStringLiteral("{7468213E-010E-4EC6-A17D-642E909BA7EC}"));

TGnucDNAINetworkEvent::TGnucDNAINetworkEvent(const QString& name, QObject* owner)
    : TGnucDNAEventsBaseSink(name, IID, "TGnucDNAINetworkEvent", owner)
{
}

HResult TGnucDNAINetworkEvent::DoInvoke(int32_t dispId, const DispParams& params,
                                        const std::vector<int>& map)
{
    const auto arg = [&](int i) { return argument(params, map, i); };
    switch (dispId) {
    case 1:
        return raise([&] {
            if (OnChange)
                OnChange(this, arg(0).toInt());
        });
    case 2:
        return raise([&] {
            if (OnPacketIncoming)
                OnPacketIncoming(this, arg(0).toInt(), arg(1), arg(2).toInt(), arg(3).toInt(),
                                 arg(4).toBool());
        });
    case 3:
        return raise([&] {
            if (OnPacketOutgoing)
                OnPacketOutgoing(this, arg(0).toInt(), arg(1), arg(2).toInt(), arg(3).toBool());
        });
    case 4:
        return raise([&] {
            if (OnAuthenticate)
                OnAuthenticate(this, arg(0).toInt());
        });
    case 5:
        return raise([&] {
            if (OnChallenge)
                OnChallenge(this, arg(0).toInt(), arg(1).toString());
        });
    case 6:
        return raise([&] {
            if (OnPacketIncoming2)
                OnPacketIncoming2(this, arg(0).toInt(), arg(1).toBool(), uint32_t(arg(2).toInt()),
                                  arg(3).toInt(), arg(4), arg(5).toInt(), arg(6).toBool(),
                                  arg(7).toInt());
        });
    case 7:
        return raise([&] {
            if (OnPacketOutgoing2)
                OnPacketOutgoing2(this, arg(0).toInt(), arg(1).toBool(), uint32_t(arg(2).toInt()),
                                  arg(3).toInt(), arg(4), arg(5).toInt(), arg(6).toBool());
        });
    default:
        return HResult::memberNotFound();
    }
}
