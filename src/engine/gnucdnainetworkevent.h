#pragma once

#include "engine/gnucdnaeventsbasesink.h"

#include <functional>

// The network events of the engine.
class TGnucDNAINetworkEvent final : public TGnucDNAEventsBaseSink {
    Q_OBJECT
public:
    TGnucDNAINetworkEvent(const QString& name, QObject* owner);

    static const QUuid IID;

    std::function<void(TGnucDNAINetworkEvent*, int32_t nodeId)> OnChange;
    std::function<void(TGnucDNAINetworkEvent*, int32_t nodeId, const Variant& packet, int32_t size,
                       int32_t errorCode, bool local)>
        OnPacketIncoming;
    std::function<void(TGnucDNAINetworkEvent*, int32_t nodeId, const Variant& packet, int32_t size,
                       bool local)>
        OnPacketOutgoing;
    std::function<void(TGnucDNAINetworkEvent*, int32_t nodeId)> OnAuthenticate;
    std::function<void(TGnucDNAINetworkEvent*, int32_t nodeId, const QString& challenge)>
        OnChallenge;
    std::function<void(TGnucDNAINetworkEvent*, int32_t networkId, bool tcp, uint32_t ip,
                       int32_t port, const Variant& packet, int32_t size, bool local,
                       int32_t errorCode)>
        OnPacketIncoming2;
    std::function<void(TGnucDNAINetworkEvent*, int32_t networkId, bool tcp, uint32_t ip,
                       int32_t port, const Variant& packet, int32_t size, bool local)>
        OnPacketOutgoing2;

protected:
    HResult DoInvoke(int32_t dispId, const DispParams& params,
                     const std::vector<int>& map) override;
};
