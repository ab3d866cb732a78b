#include "gnutella/automationobject.h"

HResult AutomationObject::invoke(int32_t dispId, int flags, const DispParams& params,
                                 Variant* result)
{
    // Arguments come last first; the engine takes positional arguments only.
    const Args args(params.args.rbegin(), params.args.rend());
    try {
        if (flags & DispatchPropertyPut) {
            const auto put = m_puts.find(dispId);
            if (put == m_puts.end())
                return HResult::memberNotFound();
            if (args.size() != 1)
                return HResult::badParamCount();
            put->second(args.front());
            return HResult::ok();
        }
        const auto found = m_methods.find(dispId);
        if (found == m_methods.end())
            return HResult::memberNotFound();
        if (int(args.size()) != found->second.argumentCount)
            return HResult::badParamCount();
        const Variant value = found->second.body(args);
        if (result)
            *result = value;
        return HResult::ok();
    } catch (const EngineFailure& failure) {
        return HResult::failure(failure.message);
    }
}

ConnectionPointContainer* AutomationObject::connectionPoints()
{
    return m_points.get();
}

void AutomationObject::method(int32_t dispId, int argumentCount, Method body)
{
    m_methods[dispId] = Entry{argumentCount, std::move(body)};
}

void AutomationObject::property(int32_t dispId, Put body)
{
    m_puts[dispId] = std::move(body);
}

ConnectionPoint& AutomationObject::events(QUuid iid)
{
    if (!m_points)
        m_points = std::make_unique<ConnectionPointContainer>();
    return m_points->add(iid);
}
