#include "automation/connectionpoint.h"

HResult ConnectionPoint::advise(Dispatch* sink, uint32_t* cookie)
{
    if (!sink || !cookie)
        return HResult::failure(QStringLiteral("No sink to advise"));
    *cookie = m_nextCookie++;
    m_sinks[*cookie] = sink;
    return HResult::ok();
}

HResult ConnectionPoint::unadvise(uint32_t cookie)
{
    if (m_sinks.erase(cookie) == 0)
        return HResult::failure(QStringLiteral("No advise with cookie %1").arg(cookie));
    return HResult::ok();
}

HResult ConnectionPoint::fire(int32_t dispId, std::initializer_list<Variant> args)
{
    return fire(dispId, DispParams::positional(args));
}

HResult ConnectionPoint::fire(int32_t dispId, const DispParams& params)
{
    HResult first;
    // A sink may unadvise while it handles the event, so the sinks are taken first.
    std::vector<Dispatch*> sinks;
    for (const auto& [cookie, sink] : m_sinks)
        sinks.push_back(sink);
    for (Dispatch* sink : sinks) {
        const HResult outcome = sink->invoke(dispId, DispatchMethod, params, nullptr);
        if (outcome.failed() && first.succeeded())
            first = outcome;
    }
    return first;
}

ConnectionPoint& ConnectionPointContainer::add(QUuid iid)
{
    auto& point = m_points[iid];
    if (!point)
        point = std::make_unique<ConnectionPoint>(iid);
    return *point;
}

HResult ConnectionPointContainer::find(QUuid iid, ConnectionPoint** point)
{
    const auto found = m_points.find(iid);
    *point = found == m_points.end() ? nullptr : found->second.get();
    return *point ? HResult::ok() : HResult::noInterface();
}
