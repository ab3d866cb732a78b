#include "gnutella/search.h"

#include "gnutella/download.h"

Search::Search(std::shared_ptr<EngineState> state, std::shared_ptr<Download> downloads)
    : m_state(std::move(state)), m_downloads(std::move(downloads)),
      m_events(events(QUuid(QLatin1String(EngineState::SearchEvents))))
{
    method(1, 1, [this](const Args& a) {
        const int32_t id = m_state->newId();
        m_state->searches[id].query = a[0].toString();
        return Variant(id);
    });
    method(2, 1, [this](const Args& a) {
        m_state->searches.erase(a[0].toInt());
        return Variant();
    });
    method(7, 1, [this](const Args& a) {
        search(a[0].toInt()).gathering = false;
        return Variant();
    });
    method(36, 1, [this](const Args& a) {
        search(a[0].toInt()).gathering = true;
        return Variant();
    });
    method(10, 2, [this](const Args& a) { return Variant(result(a[0].toInt(), a[1].toInt()).fileName); });
    method(11, 2, [this](const Args& a) { return Variant(result(a[0].toInt(), a[1].toInt()).size); });
    method(13, 2, [this](const Args& a) { return Variant(result(a[0].toInt(), a[1].toInt()).hosts); });
    method(16, 2, [this](const Args& a) {
        const EngineState::ResultRecord& found = result(a[0].toInt(), a[1].toInt());
        return Variant(m_downloads->start(found.fileName, found.size, found.hosts));
    });
}

EngineState::SearchRecord& Search::search(int32_t searchId)
{
    const auto found = m_state->searches.find(searchId);
    if (found == m_state->searches.end())
        throw EngineFailure{QStringLiteral("No search %1").arg(searchId)};
    return found->second;
}

const EngineState::ResultRecord& Search::result(int32_t searchId, int32_t resultId)
{
    const auto& results = search(searchId).results;
    const auto found = results.find(resultId);
    if (found == results.end())
        throw EngineFailure{QStringLiteral("No result %1 in search %2").arg(resultId).arg(searchId)};
    return found->second;
}
