#include "automation/dispatch.h"

DispParams DispParams::positional(std::initializer_list<Variant> natural)
{
    return positional(std::vector<Variant>(natural));
}

DispParams DispParams::positional(const std::vector<Variant>& natural)
{
    DispParams params;
    params.args.assign(natural.rbegin(), natural.rend());
    return params;
}

Variant Dispatch::call(int32_t dispId, std::initializer_list<Variant> args)
{
    Variant result;
    const HResult outcome = invoke(dispId, DispatchMethod, DispParams::positional(args), &result);
    if (outcome.failed())
        throw AutomationError(outcome);
    return result;
}

void Dispatch::put(int32_t dispId, const Variant& value)
{
    const HResult outcome = invoke(dispId, DispatchPropertyPut, DispParams::positional({value}),
                                   nullptr);
    if (outcome.failed())
        throw AutomationError(outcome);
}

AutomationError::AutomationError(const HResult& outcome)
    : std::runtime_error(outcome.text().toStdString()), result(outcome)
{
}
