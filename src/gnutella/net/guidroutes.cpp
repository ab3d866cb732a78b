#include "gnutella/net/guidroutes.h"

namespace gnutella {

void GuidRoutes::remember(const QByteArray& guid, Connection* route)
{
    if (m_routes.contains(guid))
        return;
    m_routes.insert(guid, route);
    m_order.push_back(guid);
    while (int(m_order.size()) > m_most) {
        m_routes.remove(m_order.front());
        m_order.pop_front();
    }
}

void GuidRoutes::forget(const Connection* route)
{
    for (auto it = m_routes.begin(); it != m_routes.end();)
        it = it.value() == route ? m_routes.erase(it) : std::next(it);
    std::erase_if(m_order, [this](const QByteArray& guid) { return !m_routes.contains(guid); });
}

} // namespace gnutella
