#include "gnutella/transfer/downloadmanager.h"

#include "gnutella/transfer/filehasher.h"
#include "gnutella/transfer/safename.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QTcpSocket>
#include <QThread>
#include <numeric>
#include <unistd.h>

namespace gnutella {

namespace {
constexpr int kScheduleMs = 250;
constexpr int kMaxFailures = 5;
constexpr qint64 kPushWaitMs = 30000; // for the connection a push asks for
const char* const kStateFile = "/tavrin-downloads.json";

qint64 now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace

int64_t Transfer::received() const
{
    int64_t bytes = 0;
    for (int c = 0; c < int(chunks.size()); ++c)
        if (chunks[size_t(c)] == 2)
            bytes += chunkLength(c);
    return bytes;
}

bool SameHost(const TransferSource& a, const TransferSource& b)
{
    // Firewalled hosts may share an address (none, or a private one): their GUIDs tell them apart.
    if (a.serventGuid.size() == 16 && b.serventGuid.size() == 16)
        return a.serventGuid == b.serventGuid;
    return a.address == b.address;
}

bool Transfer::allHeld() const
{
    return std::all_of(chunks.begin(), chunks.end(), [](uint8_t c) { return c == 2; });
}

DownloadManager::DownloadManager(QObject* parent)
    : QObject(parent), m_hasherThread(new QThread(this)), m_hasher(new FileHasher), m_scheduler(this)
{
    m_hasher->moveToThread(m_hasherThread);
    connect(m_hasherThread, &QThread::finished, m_hasher, &QObject::deleteLater);
    connect(m_hasher, &FileHasher::finished, this, &DownloadManager::hashed);
    m_hasherThread->start();
    m_scheduler.setInterval(kScheduleMs);
    connect(&m_scheduler, &QTimer::timeout, this, &DownloadManager::schedule);
    m_scheduler.start();
    m_tokenClock.start();
}

DownloadManager::~DownloadManager()
{
    for (auto& [id, run] : m_downloads)
        for (auto& worker : run->workers)
            worker->stop();
    saveState();
    m_hasherThread->quit();
    m_hasherThread->wait();
}

void DownloadManager::setFolders(const QString& partials, const QString& downloads)
{
    m_downloadsFolder = downloads;
    if (partials == m_partials)
        return;
    m_partials = partials;
    QDir().mkpath(m_partials);
    loadState();
}

void DownloadManager::setLimits(int maxDownloads, double maxKilobytesPerSecond)
{
    m_maxDownloads = std::max(1, maxDownloads);
    m_maxBytesPerSecond = maxKilobytesPerSecond > 0 ? maxKilobytesPerSecond * 1024.0 : 0;
}

qint64 DownloadManager::allowance(qint64 wanted)
{
    if (m_maxBytesPerSecond <= 0)
        return wanted;
    // A token bucket shared by every download, holding at most a quarter second's worth.
    m_tokens = std::min(m_maxBytesPerSecond / 4,
                        m_tokens + m_tokenClock.restart() / 1000.0 * m_maxBytesPerSecond);
    const qint64 granted = std::min<qint64>(wanted, qint64(m_tokens));
    m_tokens -= double(granted);
    return granted;
}

void DownloadManager::add(const Transfer& transfer)
{
    auto run = std::make_unique<Running>();
    run->transfer = transfer;
    Transfer& t = run->transfer;
    t.chunks.assign(size_t(t.chunkCount()), 0);
    run->filling.assign(t.chunks.size(), 0);
    t.partialPath = m_partials + QStringLiteral("/%1 - %2").arg(t.id).arg(SafeFileName(t.name));
    run->rateClock.start();
    Running& added = *run;
    m_downloads[t.id] = std::move(run);
    report(added);
    saveState();
    schedule();
}

void DownloadManager::addSources(const QByteArray& urn, const std::vector<TransferSource>& sources)
{
    for (auto& [id, run] : m_downloads) {
        Transfer& t = run->transfer;
        if (t.urn.isEmpty() || t.urn.compare(urn, Qt::CaseInsensitive) != 0)
            continue;
        for (const TransferSource& source : sources) {
            const bool known = std::any_of(t.sources.begin(), t.sources.end(), [&](const TransferSource& s) {
                return SameHost(s, source);
            });
            if (!known && int(t.sources.size()) < MostSources)
                t.sources.push_back(source);
        }
        report(*run);
    }
}

void DownloadManager::pause(int32_t id)
{
    const auto found = m_downloads.find(id);
    if (found == m_downloads.end() || found->second->transfer.state == Transfer::Complete)
        return;
    Running& run = *found->second;
    for (auto& worker : run.workers)
        worker->stop();
    run.workers.clear();
    for (TransferSource& s : run.transfer.sources) {
        s.busy = false;
        s.pushedAtMs = 0;
    }
    run.transfer.state = Transfer::Paused;
    report(run);
    saveState();
}

void DownloadManager::resume(int32_t id)
{
    const auto found = m_downloads.find(id);
    if (found == m_downloads.end() || found->second->transfer.state != Transfer::Paused)
        return;
    found->second->transfer.state = Transfer::Pending;
    report(*found->second);
    saveState();
    schedule();
}

void DownloadManager::remove(int32_t id)
{
    const auto found = m_downloads.find(id);
    if (found == m_downloads.end())
        return;
    Running& run = *found->second;
    for (auto& worker : run.workers)
        worker->stop();
    run.workers.clear();
    run.file.close();
    if (run.transfer.state != Transfer::Complete)
        QFile::remove(run.transfer.partialPath);
    QMetaObject::invokeMethod(m_hasher, [hasher = m_hasher, id] { hasher->forget(id); });
    m_downloads.erase(found);
    saveState();
}

const Transfer* DownloadManager::find(int32_t id) const
{
    const auto found = m_downloads.find(id);
    return found == m_downloads.end() ? nullptr : &found->second->transfer;
}

TransferFigures DownloadManager::figuresOf(const Running& run) const
{
    const Transfer& t = run.transfer;
    TransferFigures f;
    f.id = t.id;
    f.state = t.state;
    f.received = t.received() + std::accumulate(run.filling.begin(), run.filling.end(), int64_t(0));
    f.size = t.size;
    f.hostsKnown = int(std::count_if(t.sources.begin(), t.sources.end(),
                                     [](const TransferSource& s) { return !s.banned; }));
    f.hostsActive = int(run.workers.size());
    f.rate = run.rate;
    f.secondsLeft = run.rate > 0 ? int32_t(std::min<int64_t>((t.size - f.received) / run.rate, INT32_MAX)) : 0;
    f.finalName = t.finalName;
    f.partialPath = t.partialPath;
    return f;
}

std::vector<TransferFigures> DownloadManager::figures() const
{
    std::vector<TransferFigures> all;
    for (const auto& [id, run] : m_downloads)
        all.push_back(figuresOf(*run));
    return all;
}

void DownloadManager::report(Running& run)
{
    emit changed(figuresOf(run));
}

bool DownloadManager::openPartial(Running& run)
{
    if (run.file.isOpen())
        return true;
    run.file.setFileName(run.transfer.partialPath);
    if (!run.file.open(QIODevice::ReadWrite))
        return false;
    // The partial file has the final size from the start: chunks land where they belong, and a
    // player reads what has arrived from the beginning.
    if (run.file.size() != run.transfer.size)
        run.file.resize(run.transfer.size);
    return true;
}

void DownloadManager::schedule()
{
    int active = 0;
    for (auto& [id, run] : m_downloads) {
        Transfer& t = run->transfer;
        if (t.state != Transfer::Pending && t.state != Transfer::Receiving)
            continue;
        if (active >= m_maxDownloads)
            break;
        ++active;
        // The rate over the last seconds.
        if (run->rateClock.elapsed() >= 1000) {
            run->rate = int32_t(run->rateBytes * 1000 / std::max<qint64>(run->rateClock.restart(), 1));
            run->rateBytes = 0;
            report(*run);
        }
        const bool missing = std::find(t.chunks.begin(), t.chunks.end(), 0) != t.chunks.end();
        if (!missing) {
            // Every chunk held but not checked: the program stopped between the last chunk and
            // the check.
            if (run->workers.empty() && t.allHeld())
                verifyAndFinish(*run);
            continue;
        }
        // After a failed check one source at a time fetches the whole file.
        const int most = t.checkFailed ? 1 : SourcesPerDownload;
        // Sources asked to connect to us count as busy.
        int engaged = int(run->workers.size()) +
                      int(std::count_if(t.sources.begin(), t.sources.end(),
                                        [](const TransferSource& s) { return s.pushedAtMs != 0; }));
        for (int s = 0; s < int(t.sources.size()); ++s) {
            TransferSource& source = t.sources[size_t(s)];
            if (source.pushedAtMs != 0) {
                pushTo(source);
                continue;
            }
            if (engaged >= most || source.busy || source.banned || source.retryAfterMs > now())
                continue;
            if (t.checkFailed) {
                if (t.exclusiveSource >= 0 && t.exclusiveSource != s)
                    continue;
                t.exclusiveSource = s;
            }
            if (!openPartial(*run))
                break;
            ++engaged;
            if (source.push)
                pushTo(source);
            else
                startWorker(*run, s);
        }
    }
    if (m_stateDirty)
        saveState();
}

void DownloadManager::pushTo(TransferSource& source)
{
    if (source.pushedAtMs != 0) {
        if (now() - source.pushedAtMs < kPushWaitMs)
            return;
        // No connection came: the push did not reach the host, or it could not reach us.
        source.pushedAtMs = 0;
        source.retryAfterMs = now() + 60000;
        if (++source.failures >= kMaxFailures)
            source.banned = true;
        return;
    }
    if (source.serventGuid.size() != 16) {
        source.banned = true;
        return;
    }
    if (!requestPush || !requestPush(source.serventGuid, source.index)) {
        source.retryAfterMs = now() + 30000;
        return;
    }
    source.pushedAtMs = now();
}

void DownloadManager::takeGiv(const GivLine& giv, QTcpSocket* socket)
{
    for (auto& [id, run] : m_downloads) {
        Transfer& t = run->transfer;
        if (t.state != Transfer::Pending && t.state != Transfer::Receiving)
            continue;
        for (int s = 0; s < int(t.sources.size()); ++s) {
            TransferSource& source = t.sources[size_t(s)];
            if (source.pushedAtMs == 0 || source.busy || source.serventGuid != giv.serventGuid)
                continue;
            source.pushedAtMs = 0;
            if (!openPartial(*run))
                break;
            startWorker(*run, s, socket);
            return;
        }
    }
    // Nobody asked for it.
    socket->deleteLater();
}

void DownloadManager::startWorker(Running& run, int source, QTcpSocket* pushed)
{
    Transfer& t = run.transfer;
    const int32_t id = t.id;
    t.sources[size_t(source)].busy = true;
    // The callbacks find their download by its id: a removed download is simply not found.
    const auto running = [this, id]() -> Running* {
        const auto found = m_downloads.find(id);
        return found == m_downloads.end() ? nullptr : found->second.get();
    };
    SourceWorker::Callbacks callbacks;
    callbacks.nextRun = [running](int most) -> std::pair<int, int> {
        Running* r = running();
        if (!r)
            return {-1, 0};
        // Lowest missing chunks first, so the file fills from its start; no worker claims more
        // than its share of what is missing, so none is left waiting at the end.
        auto& chunks = r->transfer.chunks;
        const auto first = std::find(chunks.begin(), chunks.end(), 0);
        if (first == chunks.end())
            return {-1, 0};
        const auto missing = std::count(first, chunks.end(), 0);
        most = int(std::clamp<qint64>(missing / std::max<qint64>(qint64(r->workers.size()), 1), 1, most));
        int count = 0;
        for (auto c = first; c != chunks.end() && *c == 0 && count < most; ++c, ++count)
            *c = 1;
        return {int(first - chunks.begin()), count};
    };
    callbacks.allowance = [this](qint64 wanted) { return allowance(wanted); };
    callbacks.write = [running](int64_t offset, const char* bytes, qint64 length) {
        Running* r = running();
        if (!r || ::pwrite(r->file.handle(), bytes, size_t(length), offset) != length)
            return false;
        r->rateBytes += length;
        // Bytes of chunks still being fetched count as received, so progress moves within a chunk.
        for (int64_t at = offset; at < offset + length;) {
            const auto chunk = size_t(at / Transfer::ChunkSize);
            const int64_t upTo = std::min<int64_t>(offset + length, int64_t(chunk + 1) * Transfer::ChunkSize);
            r->filling[chunk] += upTo - at;
            at = upTo;
        }
        return true;
    };
    callbacks.chunkEnded = [this, running](int chunk, bool whole) {
        Running* r = running();
        if (!r)
            return;
        Transfer& tr = r->transfer;
        tr.chunks[size_t(chunk)] = whole ? 2 : 0;
        r->filling[size_t(chunk)] = 0;
        if (!whole)
            return;
        tr.state = Transfer::Receiving;
        followHeld(*r);
        m_stateDirty = true;
        report(*r);
        if (tr.allHeld())
            QTimer::singleShot(0, this, [this, running] {
                if (Running* done = running())
                    verifyAndFinish(*done);
            });
    };
    callbacks.alternates = [this, running](const QList<HostAddress>& hosts) {
        Running* r = running();
        // Another host is asked for the file by its urn: without one, its index there is unknown.
        if (!r || r->transfer.urn.isEmpty())
            return;
        std::vector<TransferSource> found;
        for (const HostAddress& host : hosts)
            found.push_back({host, 0, r->transfer.name});
        addSources(r->transfer.urn, found);
    };
    auto holder = std::make_shared<SourceWorker*>(nullptr);
    callbacks.finished = [this, running, holder](SourceWorker::Outcome outcome, qint64 retryMs) {
        // Reported from inside the worker: it is let go after this call.
        QTimer::singleShot(0, this, [this, running, holder, outcome, retryMs] {
            if (Running* r = running())
                workerFinished(*r, *holder, outcome, retryMs);
        });
    };
    run.workers.push_back(
        std::make_unique<SourceWorker>(t, source, userAgent, chunkDeadlineMs, callbacks, pushed, this));
    *holder = run.workers.back().get();
    report(run);
}

void DownloadManager::workerFinished(Running& run, SourceWorker* worker, SourceWorker::Outcome outcome,
                                     qint64 retryMs)
{
    const auto found = std::find_if(run.workers.begin(), run.workers.end(),
                                    [worker](const auto& w) { return w.get() == worker; });
    if (found == run.workers.end())
        return;
    TransferSource& source = run.transfer.sources[size_t(worker->source())];
    source.busy = false;
    switch (outcome) {
    case SourceWorker::Outcome::Done:
        source.failures = 0;
        break;
    case SourceWorker::Outcome::Busy:
        source.retryAfterMs = now() + retryMs;
        break;
    case SourceWorker::Outcome::Gone:
        source.banned = true;
        break;
    case SourceWorker::Outcome::UnknownUrn:
        source.byName = true;
        break;
    case SourceWorker::Outcome::Unreachable:
        // A host known by its servent GUID may still be pushed.
        if (source.serventGuid.size() == 16 && !source.push) {
            source.push = true;
            break;
        }
        [[fallthrough]];
    case SourceWorker::Outcome::Failed:
        source.retryAfterMs = now() + retryMs;
        if (++source.failures >= kMaxFailures)
            source.banned = true;
        break;
    }
    // Deleting it inside its own signal would pull the floor from under it.
    found->release()->deleteLater();
    run.workers.erase(found);
    report(run);
}

void DownloadManager::followHeld(Running& run)
{
    const Transfer& t = run.transfer;
    const int64_t before = run.heldTo;
    while (run.heldTo < t.size && t.chunks[size_t(run.heldTo / Transfer::ChunkSize)] == 2)
        run.heldTo += t.chunkLength(int(run.heldTo / Transfer::ChunkSize));
    if (run.heldTo == before || t.urn.isEmpty())
        return;
    QMetaObject::invokeMethod(m_hasher, [hasher = m_hasher, id = t.id, path = t.partialPath, upTo = run.heldTo] {
        hasher->follow(id, path, upTo);
    });
}

void DownloadManager::verifyAndFinish(Running& run)
{
    Transfer& t = run.transfer;
    if (t.state == Transfer::Complete || run.verifying)
        return;
    run.file.close();
    if (t.urn.isEmpty()) {
        finishVerified(run, true);
        return;
    }
    // The hasher has followed the file as it filled; what it has not read yet it reads now.
    run.verifying = true;
    QMetaObject::invokeMethod(m_hasher, [hasher = m_hasher, id = t.id, path = t.partialPath, size = t.size] {
        hasher->finish(id, path, size);
    });
}

void DownloadManager::hashed(qint32 id, const QByteArray& urn)
{
    const auto found = m_downloads.find(id);
    if (found == m_downloads.end() || !found->second->verifying)
        return; // removed meanwhile
    Running& run = *found->second;
    run.verifying = false;
    finishVerified(run, !urn.isEmpty() && urn.compare(run.transfer.urn, Qt::CaseInsensitive) == 0);
}

void DownloadManager::finishVerified(Running& run, bool good)
{
    Transfer& t = run.transfer;
    if (!good) {
        // The bad data never leaves the partials folder. Every chunk is fetched again, now whole
        // from one source at a time, so the source that sends wrong data can be told.
        if (t.exclusiveSource >= 0)
            t.sources[size_t(t.exclusiveSource)].banned = true;
        t.checkFailed = true;
        t.exclusiveSource = -1;
        run.heldTo = 0;
        std::fill(t.chunks.begin(), t.chunks.end(), 0);
        t.state = Transfer::Pending;
        if (std::none_of(t.sources.begin(), t.sources.end(), [](const TransferSource& s) { return !s.banned; }))
            t.state = Transfer::Failed;
        report(run);
        saveState();
        return;
    }
    QDir().mkpath(m_downloadsFolder);
    const QString target = UniquePath(m_downloadsFolder, SafeFileName(t.name));
    if (!QFile::rename(t.partialPath, target) &&
        !(QFile::copy(t.partialPath, target) && QFile::remove(t.partialPath))) {
        t.state = Transfer::Failed;
        report(run);
        return;
    }
    t.finalName = QFileInfo(target).fileName();
    t.state = Transfer::Complete;
    for (auto& worker : run.workers)
        worker->stop();
    run.workers.clear();
    report(run);
    saveState();
}

void DownloadManager::saveState()
{
    m_stateDirty = false;
    if (m_partials.isEmpty())
        return;
    QJsonArray list;
    for (auto& [id, run] : m_downloads) {
        const Transfer& t = run->transfer;
        // The chunks are on disk before the state says they are.
        if (run->file.isOpen())
            ::fdatasync(run->file.handle());
        QByteArray held((t.chunks.size() + 7) / 8, '\0');
        for (size_t c = 0; c < t.chunks.size(); ++c)
            if (t.chunks[c] == 2)
                held[qsizetype(c / 8)] = char(held[qsizetype(c / 8)] | (1 << (c % 8)));
        QJsonArray sources;
        for (const TransferSource& s : t.sources)
            if (!s.banned)
                sources.append(QJsonObject{{"address", s.address.text()},
                                           {"index", qint64(s.index)},
                                           {"name", s.name},
                                           {"guid", QString::fromLatin1(s.serventGuid.toHex())},
                                           {"push", s.push}});
        list.append(QJsonObject{{"id", t.id},
                                {"name", t.name},
                                {"size", qint64(t.size)},
                                {"urn", QString::fromLatin1(t.urn)},
                                {"state", t.state},
                                {"partial", QFileInfo(t.partialPath).fileName()},
                                {"final", t.finalName},
                                {"held", QString::fromLatin1(held.toBase64())},
                                {"sources", sources}});
    }
    QSaveFile file(m_partials + QLatin1String(kStateFile));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QJsonDocument(QJsonObject{{"version", 1}, {"downloads", list}}).toJson());
        file.commit();
    }
}

void DownloadManager::loadState()
{
    QFile file(m_partials + QLatin1String(kStateFile));
    if (!file.open(QIODevice::ReadOnly) || file.size() > 16 * 1024 * 1024)
        return;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
    for (const QJsonValue& value : root.value("downloads").toArray()) {
        const QJsonObject o = value.toObject();
        auto run = std::make_unique<Running>();
        Transfer& t = run->transfer;
        t.id = o.value("id").toInt();
        t.name = o.value("name").toString();
        t.size = o.value("size").toInteger();
        t.urn = o.value("urn").toString().toLatin1();
        t.state = o.value("state").toInt();
        t.finalName = o.value("final").toString();
        // Only a plain file name of the partials folder is taken from the state file.
        t.partialPath = m_partials + QLatin1Char('/') + SafeFileName(o.value("partial").toString());
        if (t.id <= 0 || t.size <= 0 || t.size > (int64_t(1) << 40) || m_downloads.count(t.id))
            continue;
        if (t.state == Transfer::Complete)
            continue; // handed over already
        t.chunks.assign(size_t(t.chunkCount()), 0);
            run->filling.assign(t.chunks.size(), 0);
            const QByteArray held = QByteArray::fromBase64(o.value("held").toString().toLatin1());
        // Chunks count only where the partial file is whole.
        if (QFileInfo(t.partialPath).size() == t.size)
            for (size_t c = 0; c < t.chunks.size() && c / 8 < size_t(held.size()); ++c)
                if (held[qsizetype(c / 8)] & (1 << (c % 8)))
                    t.chunks[c] = 2;
        for (const QJsonValue& sv : o.value("sources").toArray()) {
            const QJsonObject so = sv.toObject();
            // A host without a usable address can still be pushed by its servent GUID.
            const auto address = ParseHostAddress(so.value("address").toString().toLatin1());
            const QByteArray guid = QByteArray::fromHex(so.value("guid").toString().toLatin1());
            if (!address && guid.size() != 16)
                continue;
            TransferSource source{address.value_or(HostAddress{}), uint32_t(so.value("index").toInteger()),
                                  so.value("name").toString()};
            if (guid.size() == 16) {
                source.serventGuid = guid;
                source.push = !address || so.value("push").toBool();
            }
            t.sources.push_back(source);
        }
        if (t.state != Transfer::Paused && t.state != Transfer::Failed)
            t.state = Transfer::Pending;
        run->rateClock.start();
        m_downloads[t.id] = std::move(run);
    }
}

} // namespace gnutella
