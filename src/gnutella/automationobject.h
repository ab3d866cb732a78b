#pragma once

#include "automation/connectionpoint.h"
#include "automation/dispatch.h"

#include <QString>
#include <functional>
#include <map>
#include <vector>

// An engine object: methods and property puts looked up by DispID. A call of a missing member
// answers DISP_E_MEMBERNOTFOUND; a method that throws answers with the failure's message.
class AutomationObject : public Dispatch {
public:
    using Args = std::vector<Variant>; // in natural order
    using Method = std::function<Variant(const Args&)>;
    using Put = std::function<void(const Variant&)>;

    HResult invoke(int32_t dispId, int flags, const DispParams& params, Variant* result) override;
    ConnectionPointContainer* connectionPoints() override;

protected:
    void method(int32_t dispId, int argumentCount, Method body);
    void property(int32_t dispId, Put body);
    // Events this object raises through the given interface.
    ConnectionPoint& events(QUuid iid);

private:
    struct Entry {
        int argumentCount;
        Method body;
    };
    std::map<int32_t, Entry> m_methods;
    std::map<int32_t, Put> m_puts;
    std::unique_ptr<ConnectionPointContainer> m_points;
};

// A failure of an engine method, reported to the caller with its message.
struct EngineFailure {
    QString message;
};
