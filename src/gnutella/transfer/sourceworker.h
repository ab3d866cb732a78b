#pragma once

#include "gnutella/transfer/httphead.h"
#include "gnutella/transfer/transfer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>

class QTcpSocket;

namespace gnutella {

// Fetches chunks of one download from one source over HTTP/1.1 on one kept-alive connection,
// a run of neighbouring chunks a request. A fast source asks for longer runs, which spares the
// round trip between requests; a slow one asks for one chunk at a time. The manager hands it
// the runs and takes its outcome.
class SourceWorker final : public QObject {
    Q_OBJECT
public:
    // Unreachable: no connection could be made at all. UnknownUrn: the source does not know the
    // file by its urn, and may by its index and name.
    enum class Outcome { Done, Busy, Gone, Failed, Unreachable, UnknownUrn };

    struct Callbacks {
        // Claims the next run of at most `most` neighbouring chunks: its first chunk (-1 when
        // nothing is left) and its length.
        std::function<std::pair<int, int>(int most)> nextRun;
        // Bytes the bandwidth limit lets through now (at most wanted).
        std::function<qint64(qint64 wanted)> allowance;
        // Bytes of the file at an offset; false when they cannot be written.
        std::function<bool(int64_t offset, const char* bytes, qint64 length)> write;
        std::function<void(int chunk, bool whole)> chunkEnded;
        std::function<void(Outcome outcome, qint64 retryAfterMs)> finished;
        // Other hosts the source says have the file ("X-Alt").
        std::function<void(const QList<HostAddress>& hosts)> alternates;
    };

    // A source that takes longer than deadlineMs over a chunk (a dead or trickling source) gives
    // the chunk back; time the bandwidth limit holds the worker back does not count.
    // A connected socket (one a pushed source opened to us) is taken and used at once.
    SourceWorker(const Transfer& transfer, int source, QByteArray userAgent, int deadlineMs,
                 Callbacks callbacks, QTcpSocket* connected = nullptr, QObject* parent = nullptr);
    ~SourceWorker() override;

    int source() const { return m_source; }
    void stop();

private:
    void requestNext();
    void readBytes();
    void readAvailable();
    void finish(Outcome outcome, qint64 retryAfterMs = 0);
    // Writes body bytes and hands over every chunk they complete; false when writing failed.
    bool deliver(const char* bytes, qint64 length);
    void giveBackRun();
    // The source put us in its queue: ask again on this connection when it says.
    void waitInQueue(const QueuePlace& place);

    QTcpSocket* m_socket;
    int m_source;
    QByteArray m_urn;
    uint32_t m_index;
    QString m_name;
    bool m_byName; // requests name the file by index and name instead of by urn
    QByteArray m_userAgent;
    Callbacks m_callbacks;
    int64_t m_size;
    int m_deadlineMs;
    int m_deadlineLeft = -1; // what was left of the deadline when the limit held the worker back
    int m_chunk = -1;     // the chunk being filled, -1 between runs
    int m_lastChunk = -1; // the run's last chunk
    int m_runLength = 1;  // chunks to ask for next time
    QElapsedTimer m_runClock;
    QByteArray m_buffer;
    int64_t m_offset = 0;    // where the next body byte goes
    int64_t m_runStart = 0;
    int64_t m_remaining = 0; // body bytes still expected
    bool m_inBody = false;
    bool m_done = false;
    bool m_connected = false;
    bool m_queued = false; // waiting in the source's queue
    bool m_answered = false;  // a whole answer came on this connection
    bool m_closeAfter = false; // the server closes after this answer
    bool m_closing = false;    // the server has closed; what it sent is still being read
    HttpHeadReader m_reader;
    QTimer m_timeout;
    QTimer m_throttle;
    QTimer m_poll; // when to ask again while queued
};

} // namespace gnutella
