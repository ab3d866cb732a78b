#pragma once

#include "gnutella/transfer/httphead.h"
#include "gnutella/transfer/transfer.h"

#include <QObject>
#include <QTimer>
#include <functional>

class QTcpSocket;

namespace gnutella {

// Fetches chunks of one download from one source over HTTP/1.1, one range a request on one
// kept-alive connection. The manager hands it chunks and takes its outcome.
class SourceWorker final : public QObject {
    Q_OBJECT
public:
    enum class Outcome { Done, Busy, Gone, Failed };

    struct Callbacks {
        // The next chunk to fetch, or -1.
        std::function<int()> nextChunk;
        // Bytes the bandwidth limit lets through now (at most wanted).
        std::function<qint64(qint64 wanted)> allowance;
        // A chunk's bytes at an offset of the file; false when they cannot be written.
        std::function<bool(int chunk, int64_t offset, const QByteArray& bytes)> write;
        std::function<void(int chunk, bool whole)> chunkEnded;
        std::function<void(Outcome outcome, qint64 retryAfterMs)> finished;
        // Other hosts the source says have the file ("X-Alt").
        std::function<void(const QList<HostAddress>& hosts)> alternates;
    };

    // A source that takes longer than deadlineMs over a chunk (a dead or trickling source) gives
    // the chunk back; time the bandwidth limit holds the worker back does not count.
    SourceWorker(const Transfer& transfer, int source, QByteArray userAgent, int deadlineMs,
                 Callbacks callbacks, QObject* parent = nullptr);
    ~SourceWorker() override;

    int source() const { return m_source; }
    void stop();

private:
    void requestNext();
    void readBytes();
    void readAvailable();
    void finish(Outcome outcome, qint64 retryAfterMs = 0);

    QTcpSocket* m_socket;
    int m_source;
    QByteArray m_urn;
    uint32_t m_index;
    QString m_name;
    QByteArray m_userAgent;
    Callbacks m_callbacks;
    int64_t m_size;
    int m_deadlineMs;
    int m_deadlineLeft = -1; // what was left of the deadline when the limit held the worker back
    int m_chunk = -1;
    int64_t m_offset = 0;    // where the next body byte goes
    int64_t m_remaining = 0; // body bytes still expected
    bool m_inBody = false;
    bool m_done = false;
    bool m_answered = false;  // a whole answer came on this connection
    bool m_closeAfter = false; // the server closes after this answer
    bool m_closing = false;    // the server has closed; what it sent is still being read
    HttpHeadReader m_reader;
    QTimer m_timeout;
    QTimer m_throttle;
};

} // namespace gnutella
