#include "gnutella/search.h"

#include "gnutella/download.h"
#include "gnutella/protocol/messageheader.h"

namespace {

bool firewalled(const gnutella::QueryHitPayload& hit)
{
    return hit.ip == 0 || hit.port == 0 || hit.needsPush;
}

QString sourceOf(const gnutella::QueryHitPayload& hit)
{
    // Firewalled hosts may give no usable address: their servent GUID tells them apart.
    if (firewalled(hit))
        return QString::fromLatin1(hit.serventGuid.toHex());
    return gnutella::HostAddress{hit.ip, hit.port}.text();
}

// How a download reaches the host of a hit: directly, or by a push when it is firewalled.
gnutella::TransferSource offerOf(const gnutella::QueryHitPayload& hit, const gnutella::HitResult& item)
{
    gnutella::TransferSource source{gnutella::HostAddress{hit.ip, hit.port}, item.index, item.name};
    if (hit.serventGuid.size() == 16)
        source.serventGuid = hit.serventGuid;
    source.push = firewalled(hit);
    return source;
}

} // namespace

Search::Search(std::shared_ptr<EngineState> state, std::shared_ptr<Download> downloads)
    : m_state(std::move(state)), m_downloads(std::move(downloads)),
      m_events(events(QUuid(QLatin1String(EngineState::SearchEvents))))
{
    method(1, 1, [this](const Args& a) {
        const int32_t id = m_state->newId();
        m_state->searches[id].query = a[0].toString();
        sendQuery(id);
        return Variant(id);
    });
    method(2, 1, [this](const Args& a) {
        const int32_t id = a[0].toInt();
        for (auto it = m_state->searchByGuid.begin(); it != m_state->searchByGuid.end();) {
            if (it.value() == id) {
                m_state->network->post([guid = it.key()](gnutella::NetworkEngine& e, gnutella::HostCache&) {
                    e.forgetQuery(guid);
                });
                it = m_state->searchByGuid.erase(it);
            } else {
                ++it;
            }
        }
        m_state->searches.erase(id);
        return Variant();
    });
    method(7, 1, [this](const Args& a) {
        search(a[0].toInt()).gathering = false;
        return Variant();
    });
    method(36, 1, [this](const Args& a) {
        const int32_t id = a[0].toInt();
        auto& record = search(id);
        record.gathering = true;
        record.sinceMore = 0;
        sendQuery(id);
        return Variant();
    });
    method(10, 2, [this](const Args& a) { return Variant(result(a[0].toInt(), a[1].toInt()).fileName); });
    method(11, 2, [this](const Args& a) { return Variant(result(a[0].toInt(), a[1].toInt()).size); });
    method(13, 2, [this](const Args& a) { return Variant(result(a[0].toInt(), a[1].toInt()).hosts); });
    method(16, 2, [this](const Args& a) {
        return Variant(m_downloads->start(result(a[0].toInt(), a[1].toInt())));
    });
}

void Search::init()
{
    const std::weak_ptr<Search> self = weak_from_this();
    QObject::connect(m_state->network->engine(), &gnutella::NetworkEngine::hitReceived, m_state.get(),
                     [self](const QByteArray& guid, const gnutella::QueryHitPayload& hit) {
                         if (const auto alive = self.lock())
                             alive->hitArrived(guid, hit);
                     });
}

void Search::sendQuery(int32_t searchId)
{
    auto& record = search(searchId);
    // The GUID is made here, so hits can be matched before the query has even left.
    record.guid = gnutella::NewGuid();
    m_state->network->post([guid = record.guid, text = record.query](gnutella::NetworkEngine& e,
                                                                     gnutella::HostCache&) {
        e.query(text, {}, guid);
    });
    m_state->searchByGuid.insert(record.guid, searchId);
}

void Search::raise(int32_t dispId, std::initializer_list<Variant> args)
{
    const std::weak_ptr<Search> self = weak_from_this();
    const std::vector<Variant> values(args);
    m_state->post([self, dispId, values] {
        if (const auto alive = self.lock())
            alive->m_events.fire(dispId, DispParams::positional(values));
    });
}

void Search::hitArrived(const QByteArray& guid, const gnutella::QueryHitPayload& hit)
{
    // Every hit that names a file by its SHA-1 is a source for a download of that file.
    if (!firewalled(hit) || hit.serventGuid.size() == 16)
        for (const gnutella::HitResult& item : hit.results)
            if (!item.sha1Urn.isEmpty())
                m_state->network->post([urn = item.sha1Urn, offer = offerOf(hit, item)](gnutella::DownloadManager& m) {
                    m.addSources(urn, {offer});
                });
    const auto owner = m_state->searchByGuid.constFind(guid);
    if (owner == m_state->searchByGuid.constEnd())
        return;
    const int32_t searchId = *owner;
    const auto found = m_state->searches.find(searchId);
    if (found == m_state->searches.end())
        return;
    EngineState::SearchRecord& record = found->second;
    if (!record.gathering)
        return;
    const QString source = sourceOf(hit);
    for (const gnutella::HitResult& item : hit.results) {
        // Names come from peers: shown as text only, with no control characters.
        QString name = item.name;
        name.removeIf([](QChar c) { return c.unicode() < 32 || c.unicode() == 127; });
        if (name.isEmpty())
            continue;
        const QString key = item.sha1Urn.isEmpty()
                                ? name.toLower() + QLatin1Char('|') + QString::number(item.size)
                                : QString::fromLatin1(item.sha1Urn).toUpper();
        const auto known = record.byKey.constFind(key);
        if (known != record.byKey.constEnd()) {
            EngineState::ResultRecord& result = record.results[*known];
            if (!result.sources.contains(source)) {
                result.sources.insert(source);
                result.offers.push_back(offerOf(hit, item));
                result.hosts = int32_t(result.sources.size());
                raise(1, {searchId, *known});
            }
            continue;
        }
        if (int(record.results.size()) >= MaxResults)
            continue;
        const int32_t resultId = m_state->newId();
        EngineState::ResultRecord& result = record.results[resultId];
        result.fileName = name;
        result.size = int32_t(std::min<uint32_t>(item.size, INT32_MAX));
        result.sha1Urn = item.sha1Urn;
        result.sources.insert(source);
        result.offers.push_back(offerOf(hit, item));
        result.hosts = 1;
        record.byKey.insert(key, resultId);
        raise(2, {searchId, resultId});
        if (++record.sinceMore >= PauseAfterResults) {
            record.gathering = false;
            raise(6, {searchId});
            return;
        }
    }
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
