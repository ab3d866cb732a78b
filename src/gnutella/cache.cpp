#include "gnutella/cache.h"

#include "gnutella/enginestate.h"


Cache::Cache(std::shared_ptr<EngineState> state) : m_state(std::move(state))
{
    for (int list = 0; list < 3; ++list) {
        method(1 + list, 1, [this, list](const Args& a) {
            load(list, a[0].toString());
            return Variant();
        });
        method(5 + list, 1, [this, list](const Args& a) {
            save(list, a[0].toString());
            return Variant();
        });
    }
}

void Cache::load(int list, const QString& path)
{
    m_state->network->wait([&](gnutella::NetworkEngine&, gnutella::HostCache& cache) { cache.load(list, path); });
}

void Cache::save(int list, const QString& path) const
{
    bool saved = false;
    m_state->network->wait(
        [&](gnutella::NetworkEngine&, gnutella::HostCache& cache) { saved = cache.save(list, path); });
    if (!saved)
        throw EngineFailure{QStringLiteral("Cannot write %1").arg(path)};
}
