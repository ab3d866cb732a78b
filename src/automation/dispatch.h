#pragma once

#include "automation/hresult.h"
#include "automation/variant.h"

#include <QUuid>
#include <memory>
#include <stdexcept>
#include <vector>

class ConnectionPointContainer;

// What a call asks for.
enum DispatchFlags : int { DispatchMethod = 1, DispatchPropertyGet = 2, DispatchPropertyPut = 4 };

// The arguments of one call. As in every automation call, named arguments come first in args,
// paired with namedDispIds; the positional ones follow, the last argument first.
struct DispParams {
    std::vector<Variant> args;
    std::vector<int32_t> namedDispIds;

    // Positional arguments given in their natural order.
    static DispParams positional(std::initializer_list<Variant> natural);
    static DispParams positional(const std::vector<Variant>& natural);
};

// An object that is called by dispatch identifier.
class Dispatch {
public:
    virtual ~Dispatch() = default;

    virtual HResult invoke(int32_t dispId, int flags, const DispParams& params,
                           Variant* result) = 0;

    // The object's connection points, or null when it raises no events (no such interface).
    virtual ConnectionPointContainer* connectionPoints() { return nullptr; }

    // Calls a method with positional arguments and returns its result; a failed call throws
    // AutomationError.
    Variant call(int32_t dispId, std::initializer_list<Variant> args = {});
    // Puts a property; a failed put throws AutomationError.
    void put(int32_t dispId, const Variant& value);
};

// A failed automation call, raised by the typed helpers above.
class AutomationError final : public std::runtime_error {
public:
    explicit AutomationError(const HResult& result);
    HResult result;
};
