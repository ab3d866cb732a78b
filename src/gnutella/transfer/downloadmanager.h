#pragma once

#include "gnutella/protocol/push.h"
#include "gnutella/transfer/sourceworker.h"
#include "gnutella/transfer/transfer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

class QThread;

namespace gnutella {

class FileHasher;

// The live figures of a download, as the client reads them.
struct TransferFigures {
    int32_t id = 0;
    int state = 0;
    int64_t received = 0;
    int64_t size = 0;
    int hostsKnown = 0;
    int hostsActive = 0;
    int32_t rate = 0;        // bytes a second
    int32_t secondsLeft = 0;
    QString finalName;
    QString partialPath;
};

// Runs the downloads on the network thread: each fetches its missing chunks from up to four
// sources at once, lowest chunks first so a player can read the partial file from its start;
// a source that is busy, gone or failing waits or is dropped; a complete file is checked
// against its SHA-1 URN (a source whose data proves wrong is banned and the chunks are fetched
// again) and moved to the downloads folder under a safe name that replaces nothing. The list
// and each file's held chunks are written to a state file in the partials folder after every
// change (data first, then the state, both flushed), so a restart or a crash loses no more than
// the chunks in flight.
class DownloadManager final : public QObject {
    Q_OBJECT
public:
    static constexpr int SourcesPerDownload = 4;
    // Sources kept for one download, however many hits and alternate locations name.
    static constexpr int MostSources = 100;

    explicit DownloadManager(QObject* parent = nullptr);
    ~DownloadManager() override;

    // The folders; setting the partials folder reads the downloads kept there.
    void setFolders(const QString& partials, const QString& downloads);
    void setLimits(int maxDownloads, double maxKilobytesPerSecond);
    QByteArray userAgent = "Tavrin/1.0.0";
    // How long a source may take over one chunk, not counting time held back by the limit.
    int chunkDeadlineMs = 30000;

    // Sends a push to a firewalled source; false when it cannot go out now.
    std::function<bool(const QByteArray& serventGuid, uint32_t index)> requestPush;
    // A connection a pushed source opened to us: it serves the download that pushed it, or is
    // closed.
    void takeGiv(const GivLine& giv, QTcpSocket* socket);

    void add(const Transfer& transfer);
    void addSources(const QByteArray& urn, const std::vector<TransferSource>& sources);
    void pause(int32_t id);
    void resume(int32_t id);
    void remove(int32_t id);
    std::vector<TransferFigures> figures() const;
    const Transfer* find(int32_t id) const;

signals:
    // A download's figures changed.
    void changed(const gnutella::TransferFigures& figures);

private:
    struct Running {
        Transfer transfer;
        std::vector<std::unique_ptr<SourceWorker>> workers;
        QFile file;
        QElapsedTimer rateClock;
        int64_t rateBytes = 0;
        int32_t rate = 0;
        bool verifying = false; // the hasher is finishing the file's hash
        int64_t heldTo = 0;     // the file's held start, as the hasher was told
        std::vector<int64_t> filling; // bytes on disk of each chunk being fetched
    };

    void schedule();
    void startWorker(Running& run, int source, QTcpSocket* pushed = nullptr);
    // Sends or awaits a push to a firewalled source.
    void pushTo(TransferSource& source);
    void workerFinished(Running& run, SourceWorker* worker, SourceWorker::Outcome outcome, qint64 retryMs);
    void followHeld(Running& run);
    void verifyAndFinish(Running& run);
    void hashed(qint32 id, const QByteArray& urn);
    void finishVerified(Running& run, bool good);
    bool openPartial(Running& run);
    void report(Running& run);
    void saveState();
    void loadState();
    qint64 allowance(qint64 wanted);
    TransferFigures figuresOf(const Running& run) const;

    std::map<int32_t, std::unique_ptr<Running>> m_downloads;
    QThread* m_hasherThread;
    FileHasher* m_hasher;
    QString m_partials;
    QString m_downloadsFolder;
    int m_maxDownloads = 30;
    double m_maxBytesPerSecond = 0;
    double m_tokens = 0;
    QElapsedTimer m_tokenClock;
    QTimer m_scheduler;
    bool m_stateDirty = false;
};

} // namespace gnutella

Q_DECLARE_METATYPE(gnutella::TransferFigures)
