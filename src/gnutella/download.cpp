#include "gnutella/download.h"

#include "gnutella/protocol/messageheader.h"

namespace {

using gnutella::DownloadManager;

// A failed transfer waits for sources: to the client it is still pending.
void applyFigures(EngineState::DownloadRecord& record, const gnutella::TransferFigures& f)
{
    record.state = f.state == gnutella::Transfer::Failed ? EngineState::Pending : f.state;
    record.size = int32_t(std::min<int64_t>(f.size, INT32_MAX));
    record.received = int32_t(std::min<int64_t>(f.received, INT32_MAX));
    record.hostsKnown = f.hostsKnown;
    record.hostsActive = f.hostsActive;
    record.rate = f.rate;
    record.secondsLeft = f.secondsLeft;
    record.partialPath = f.partialPath;
    record.finalName = f.finalName;
}

} // namespace

Download::Download(std::shared_ptr<EngineState> state)
    : m_state(std::move(state)), m_events(events(QUuid(QLatin1String(EngineState::DownloadEvents))))
{
    method(1, 0, [this](const Args&) {
        QList<int32_t> ids;
        for (const auto& [id, record] : m_state->downloads)
            ids << id;
        return Variant(ids);
    });
    method(2, 1, [this](const Args& a) { return Variant(download(a[0].toInt()).state); });
    method(4, 1, [this](const Args& a) {
        const auto& record = download(a[0].toInt());
        return Variant(record.finalName.isEmpty() ? record.fileName : record.finalName);
    });
    method(38, 1, [this](const Args& a) { return Variant(download(a[0].toInt()).partialPath); });
    method(5, 1, [this](const Args& a) { return Variant(download(a[0].toInt()).received); });
    method(6, 1, [this](const Args& a) { return Variant(download(a[0].toInt()).size); });
    method(7, 1, [this](const Args& a) { return Variant(download(a[0].toInt()).hostsKnown); });
    method(11, 1, [this](const Args& a) { return Variant(download(a[0].toInt()).hostsActive); });
    method(13, 1, [this](const Args& a) { return Variant(download(a[0].toInt()).rate); });
    method(14, 1, [this](const Args& a) { return Variant(download(a[0].toInt()).secondsLeft); });
    // Housekeeping after the client took a completed file: completed downloads are forgotten
    // here and in the transfers' state file.
    method(16, 0, [this](const Args&) {
        for (auto it = m_state->downloads.begin(); it != m_state->downloads.end();) {
            if (it->second.state == EngineState::Complete) {
                m_state->network->post([id = it->first](DownloadManager& m) { m.remove(id); });
                it = m_state->downloads.erase(it);
            } else {
                ++it;
            }
        }
        return Variant();
    });
    method(17, 1, [this](const Args& a) {
        const int32_t id = a[0].toInt();
        if (download(id).state == EngineState::Paused) {
            download(id).state = EngineState::Pending;
            m_state->network->post([id](DownloadManager& m) { m.resume(id); });
            raiseUpdate(id);
        }
        return Variant();
    });
    method(18, 1, [this](const Args& a) {
        const int32_t id = a[0].toInt();
        auto& record = download(id);
        if (record.state != EngineState::Complete) {
            record.state = EngineState::Paused;
            record.hostsActive = 0;
            record.rate = 0;
            m_state->network->post([id](DownloadManager& m) { m.pause(id); });
            raiseUpdate(id);
        }
        return Variant();
    });
    // Removes the download and deletes its partial file.
    method(19, 1, [this](const Args& a) {
        const int32_t id = a[0].toInt();
        download(id);
        m_state->downloads.erase(id);
        m_state->network->post([id](DownloadManager& m) { m.remove(id); });
        return Variant();
    });
    // More hosts: the network is asked for the file's SHA-1; hits for it add sources.
    method(21, 1, [this](const Args& a) {
        const int32_t id = a[0].toInt();
        const QByteArray urn = download(id).urn;
        if (!urn.isEmpty())
            m_state->network->post([urn](gnutella::NetworkEngine& e, gnutella::HostCache&) {
                e.query(QString(), {urn});
            });
        return Variant();
    });
}

void Download::init()
{
    const std::weak_ptr<Download> self = weak_from_this();
    QObject::connect(m_state->network->downloads(), &DownloadManager::changed, m_state.get(),
                     [self](const gnutella::TransferFigures& figures) {
                         if (const auto alive = self.lock())
                             alive->figuresArrived(figures);
                     });
}

void Download::figuresArrived(const gnutella::TransferFigures& f)
{
    const auto found = m_state->downloads.find(f.id);
    if (found == m_state->downloads.end())
        return;
    EngineState::DownloadRecord& record = found->second;
    // A pause or resume asked for on this thread stands until the transfers have seen it.
    if (record.state == EngineState::Paused && f.state != gnutella::Transfer::Paused &&
        f.state != gnutella::Transfer::Complete)
        return;
    applyFigures(record, f);
    raiseUpdate(f.id);
}

int32_t Download::start(const EngineState::ResultRecord& result)
{
    const int32_t id = m_state->newId();
    auto& record = m_state->downloads[id];
    record.fileName = result.fileName;
    record.size = result.size;
    record.hostsKnown = result.hosts;
    record.urn = result.sha1Urn;
    gnutella::Transfer transfer;
    transfer.id = id;
    transfer.name = result.fileName;
    transfer.size = result.size;
    transfer.urn = result.sha1Urn;
    transfer.sources = result.offers;
    m_state->network->post([transfer](DownloadManager& m) { m.add(transfer); });
    raiseUpdate(id);
    return id;
}

void Download::adoptKept()
{
    std::vector<gnutella::TransferFigures> kept;
    std::vector<std::pair<int32_t, std::pair<QString, QByteArray>>> names;
    m_state->network->wait([&](DownloadManager& m) {
        kept = m.figures();
        for (const auto& f : kept)
            if (const gnutella::Transfer* t = m.find(f.id))
                names.push_back({f.id, {t->name, t->urn}});
    });
    for (const auto& [id, about] : names) {
        if (m_state->downloads.count(id))
            continue;
        m_state->reserveId(id);
        auto& record = m_state->downloads[id];
        record.fileName = about.first;
        record.urn = about.second;
    }
    for (const auto& f : kept)
        applyFigures(m_state->downloads[f.id], f);
}

EngineState::DownloadRecord& Download::download(int32_t downloadId)
{
    const auto found = m_state->downloads.find(downloadId);
    if (found == m_state->downloads.end())
        throw EngineFailure{QStringLiteral("No download %1").arg(downloadId)};
    return found->second;
}

void Download::raiseUpdate(int32_t downloadId)
{
    const std::weak_ptr<Download> self = weak_from_this();
    m_state->post([self, downloadId] {
        if (const auto alive = self.lock())
            alive->m_events.fire(1, {downloadId});
    });
}
