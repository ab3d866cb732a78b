#include "gnutella/download.h"

#include <QFile>

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
    method(4, 1, [this](const Args& a) { return Variant(download(a[0].toInt()).fileName); });
    method(38, 1, [this](const Args& a) { return Variant(partialPath(download(a[0].toInt()))); });
    method(5, 1, [this](const Args& a) { return Variant(download(a[0].toInt()).received); });
    method(6, 1, [this](const Args& a) { return Variant(download(a[0].toInt()).size); });
    method(7, 1, [this](const Args& a) { return Variant(download(a[0].toInt()).hostsKnown); });
    method(11, 1, [this](const Args& a) { return Variant(download(a[0].toInt()).hostsActive); });
    method(13, 1, [this](const Args& a) { return Variant(download(a[0].toInt()).rate); });
    method(14, 1, [this](const Args& a) { return Variant(download(a[0].toInt()).secondsLeft); });
    // Housekeeping after the client took a completed file: completed downloads are forgotten.
    method(16, 0, [this](const Args&) {
        std::erase_if(m_state->downloads,
                      [](const auto& entry) { return entry.second.state == EngineState::Complete; });
        return Variant();
    });
    method(17, 1, [this](const Args& a) {
        const int32_t id = a[0].toInt();
        auto& record = download(id);
        if (record.state == EngineState::Paused) {
            record.state = EngineState::Pending;
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
            raiseUpdate(id);
        }
        return Variant();
    });
    method(19, 1, [this](const Args& a) {
        const int32_t id = a[0].toInt();
        const auto& record = download(id);
        if (record.state != EngineState::Complete)
            QFile::remove(partialPath(record));
        m_state->downloads.erase(id);
        return Variant();
    });
    // More sources are looked for by the network; without a connection there is nobody to ask.
    method(21, 1, [this](const Args& a) {
        download(a[0].toInt());
        return Variant();
    });
}

int32_t Download::start(const QString& fileName, int32_t size, int32_t hosts)
{
    const int32_t id = m_state->newId();
    auto& record = m_state->downloads[id];
    record.fileName = fileName;
    record.size = size;
    record.hostsKnown = hosts;
    raiseUpdate(id);
    return id;
}

EngineState::DownloadRecord& Download::download(int32_t downloadId)
{
    const auto found = m_state->downloads.find(downloadId);
    if (found == m_state->downloads.end())
        throw EngineFailure{QStringLiteral("No download %1").arg(downloadId)};
    return found->second;
}

QString Download::partialPath(const EngineState::DownloadRecord& record) const
{
    // Names come from other peers: only a plain file name is ever joined to the folder.
    QString name = record.fileName.section(QLatin1Char('/'), -1).section(QLatin1Char('\\'), -1);
    name.removeIf([](QChar c) { return c.unicode() < 32 || c.unicode() == 127; });
    while (name.startsWith(QLatin1Char('.')))
        name.remove(0, 1);
    name.truncate(200);
    if (name.isEmpty())
        name = QStringLiteral("download");
    return m_state->prefs.partialsPath + QLatin1Char('/') + name;
}

void Download::raiseUpdate(int32_t downloadId)
{
    const std::weak_ptr<Download> self = weak_from_this();
    m_state->post([self, downloadId] {
        if (const auto alive = self.lock())
            alive->m_events.fire(1, {downloadId});
    });
}
