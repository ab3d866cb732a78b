#pragma once

#include <QByteArray>
#include <QHash>
#include <deque>

namespace gnutella {

class Connection;

// Which connection a GUID came in on, so answers can go back the same way: query GUIDs for
// hits, servent GUIDs for pushes. The oldest are forgotten first beyond a limit.
class GuidRoutes {
public:
    explicit GuidRoutes(int most) : m_most(most) {}

    bool contains(const QByteArray& guid) const { return m_routes.contains(guid); }
    Connection* route(const QByteArray& guid) const { return m_routes.value(guid); }
    // The first route learned for a GUID stands.
    void remember(const QByteArray& guid, Connection* route);
    void forget(const Connection* route);

private:
    int m_most;
    QHash<QByteArray, Connection*> m_routes;
    std::deque<QByteArray> m_order;
};

} // namespace gnutella
