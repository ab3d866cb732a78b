#pragma once

#include "automation/dispatch.h"

#include <QUuid>
#include <map>
#include <memory>

// One outgoing event interface of an object: sinks advise it and get a cookie; firing an
// event calls every advised sink by dispatch identifier.
class ConnectionPoint final {
public:
    explicit ConnectionPoint(QUuid iid) : m_iid(iid) {}

    QUuid iid() const { return m_iid; }
    HResult advise(Dispatch* sink, uint32_t* cookie);
    HResult unadvise(uint32_t cookie);
    int adviseCount() const { return int(m_sinks.size()); }

    // Calls every sink with the event's arguments in their natural order. Returns the first
    // failure a sink reported, or success.
    HResult fire(int32_t dispId, std::initializer_list<Variant> args);
    HResult fire(int32_t dispId, const DispParams& params);

private:
    QUuid m_iid;
    std::map<uint32_t, Dispatch*> m_sinks;
    uint32_t m_nextCookie = 1;
};

// The connection points of one object, by interface identifier.
class ConnectionPointContainer final {
public:
    ConnectionPoint& add(QUuid iid);
    // The point for iid, or null with E_NOINTERFACE.
    HResult find(QUuid iid, ConnectionPoint** point);

private:
    std::map<QUuid, std::unique_ptr<ConnectionPoint>> m_points;
};
