#include "gnutella/transfer/sourceworker.h"

#include <QHostAddress>
#include <QTcpSocket>
#include <QUrl>

namespace gnutella {

namespace {
constexpr qint64 kReadBuffer = 256 * 1024;
constexpr int kMostAlternates = 20;    // read from one answer
constexpr int kMostRun = 16;           // chunks in one request
constexpr qint64 kRunMs = 250;         // a run should take about this long at the source's pace
constexpr int kLongestQueuePoll = 600; // seconds
} // namespace

SourceWorker::SourceWorker(const Transfer& transfer, int source, QByteArray userAgent, int deadlineMs,
                           Callbacks callbacks, QTcpSocket* connected, QObject* parent)
    : QObject(parent), m_socket(connected ? connected : new QTcpSocket(this)), m_source(source), m_urn(transfer.urn),
      m_index(transfer.sources[size_t(source)].index), m_name(transfer.sources[size_t(source)].name),
      m_byName(transfer.urn.isEmpty() || transfer.sources[size_t(source)].byName),
      m_userAgent(std::move(userAgent)), m_callbacks(std::move(callbacks)), m_size(transfer.size),
      m_deadlineMs(deadlineMs)
{
    m_socket->setParent(this);
    // A bounded read buffer lets the bandwidth limit slow the sender down.
    m_socket->setReadBufferSize(kReadBuffer);
    m_buffer.resize(kReadBuffer);
    m_timeout.setSingleShot(true);
    connect(&m_timeout, &QTimer::timeout, this,
            [this] { finish(m_connected ? Outcome::Failed : Outcome::Unreachable, 60000); });
    m_poll.setSingleShot(true);
    connect(&m_poll, &QTimer::timeout, this, [this] {
        m_queued = false;
        requestNext();
    });
    m_throttle.setSingleShot(true);
    m_throttle.setInterval(50);
    connect(&m_throttle, &QTimer::timeout, this, [this] {
        if (m_deadlineLeft >= 0) {
            m_timeout.start(m_deadlineLeft);
            m_deadlineLeft = -1;
        }
        readBytes();
    });
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        m_connected = true;
        requestNext();
    });
    connect(m_socket, &QTcpSocket::readyRead, this, &SourceWorker::readBytes);
    connect(m_socket, &QTcpSocket::errorOccurred, this, [this] {
        if (m_socket->error() == QAbstractSocket::RemoteHostClosedError) {
            // What arrived before the close is still read, at the pace the limit allows.
            m_closing = true;
            readBytes();
            return;
        }
        finish(m_connected ? Outcome::Failed : Outcome::Unreachable, 30000);
    });
    m_timeout.start(m_deadlineMs);
    if (connected) {
        m_connected = true;
        QTimer::singleShot(0, this, &SourceWorker::requestNext);
        return;
    }
    const HostAddress& address = transfer.sources[size_t(source)].address;
    m_socket->connectToHost(QHostAddress(address.ip), address.port);
}

SourceWorker::~SourceWorker() = default;

void SourceWorker::stop()
{
    giveBackRun();
    m_done = true;
    m_socket->abort();
}

void SourceWorker::giveBackRun()
{
    if (m_chunk >= 0 && m_callbacks.chunkEnded)
        for (int c = m_chunk; c <= m_lastChunk; ++c)
            m_callbacks.chunkEnded(c, false);
    m_chunk = -1;
    m_lastChunk = -1;
}

void SourceWorker::finish(Outcome outcome, qint64 retryAfterMs)
{
    if (m_done)
        return;
    m_done = true;
    m_timeout.stop();
    m_throttle.stop();
    m_poll.stop();
    giveBackRun();
    m_socket->abort();
    m_callbacks.finished(outcome, retryAfterMs);
}

void SourceWorker::requestNext()
{
    if (m_done)
        return;
    const auto [first_chunk, count] = m_callbacks.nextRun(m_runLength);
    if (first_chunk < 0) {
        finish(Outcome::Done);
        return;
    }
    m_chunk = first_chunk;
    m_lastChunk = first_chunk + count - 1;
    const int64_t first = int64_t(m_chunk) * Transfer::ChunkSize;
    const int64_t last = std::min(int64_t(m_lastChunk + 1) * Transfer::ChunkSize, m_size) - 1;
    const QByteArray target =
        m_byName ? "/get/" + QByteArray::number(m_index) + '/' + QUrl::toPercentEncoding(m_name)
                 : "/uri-res/N2R?" + m_urn;
    QByteArray request = "GET " + target + " HTTP/1.1\r\n";
    request += "Host: " + m_socket->peerAddress().toString().toLatin1() + ':' +
               QByteArray::number(m_socket->peerPort()) + "\r\n";
    request += "User-Agent: " + m_userAgent + "\r\n";
    request += "Range: bytes=" + QByteArray::number(first) + '-' + QByteArray::number(last) + "\r\n";
    request += "Connection: Keep-Alive\r\nX-Queue: 0.1\r\n";
    if (!m_urn.isEmpty())
        request += "X-Gnutella-Content-URN: " + m_urn + "\r\n";
    m_socket->write(request + "\r\n");
    m_offset = first;
    m_runStart = first;
    m_remaining = 0;
    m_inBody = false;
    m_deadlineLeft = -1;
    m_timeout.start(m_deadlineMs);
    m_runClock.start();
}

bool SourceWorker::deliver(const char* bytes, qint64 length)
{
    if (!m_callbacks.write(m_offset, bytes, length))
        return false;
    m_offset += length;
    m_remaining -= length;
    while (m_chunk >= 0 && m_chunk <= m_lastChunk &&
           m_offset >= std::min(int64_t(m_chunk + 1) * Transfer::ChunkSize, m_size)) {
        m_callbacks.chunkEnded(m_chunk, true);
        ++m_chunk;
        // Each chunk has its own deadline.
        if (m_timeout.isActive())
            m_timeout.start(m_deadlineMs);
        else if (m_deadlineLeft >= 0)
            m_deadlineLeft = m_deadlineMs;
    }
    return true;
}

void SourceWorker::readBytes()
{
    readAvailable();
    // After the server closed: a server that closes between two answers simply does not keep
    // connections, and the next chunk comes on a new one; a close inside an answer is a failure.
    if (m_closing && !m_done && !m_throttle.isActive() && m_socket->bytesAvailable() == 0) {
        if (m_queued)
            finish(Outcome::Busy, 30000); // the source let go of our place
        else if (!m_inBody && m_answered)
            finish(Outcome::Done);
        else
            finish(Outcome::Failed, 30000);
    }
}

void SourceWorker::waitInQueue(const QueuePlace& place)
{
    // The place in the queue is this connection: the claimed chunks go back for other sources,
    // and the same request is made again once the source wants to hear from us.
    giveBackRun();
    m_timeout.stop();
    m_queued = true;
    const qint64 earliest = qint64(place.pollMinSeconds) * 1000;
    m_poll.start(std::min(earliest + 1000, std::max<qint64>(qint64(place.pollMaxSeconds) * 1000, earliest)));
}

void SourceWorker::readAvailable()
{
    while (!m_done && m_socket->bytesAvailable() > 0) {
        if (m_queued) {
            // The body of the queued answer, if any, says nothing we need.
            m_socket->skip(m_socket->bytesAvailable());
            continue;
        }
        if (!m_inBody) {
            HttpHead head;
            QByteArray rest;
            const auto result = m_reader.feed(m_socket->read(4096), head, rest);
            if (result == HttpHeadReader::Result::Broken) {
                finish(Outcome::Failed, 300000);
                return;
            }
            if (result == HttpHeadReader::Result::NeedMore)
                continue;
            const int status = head.status();
            const QList<HostAddress> alternates = ParseTryHosts(head.header("X-Alt"), kMostAlternates);
            if (!alternates.isEmpty() && m_callbacks.alternates)
                m_callbacks.alternates(alternates);
            if (status == 503) {
                const bool keptOpen = !m_closing && head.header("Connection").toLower() != "close" &&
                                      !head.startLine.startsWith("HTTP/1.0");
                const QueuePlace place = ParseQueue(head.header("X-Queue"));
                // A queue that wants to hear from us only after a very long time is as good as busy.
                if (keptOpen && !head.header("X-Queue").isEmpty() && place.pollMinSeconds <= kLongestQueuePoll) {
                    waitInQueue(place);
                    continue;
                }
                const qint64 wait = std::clamp<qint64>(head.header("Retry-After").toLongLong(), 10, 600);
                finish(Outcome::Busy, wait * 1000);
                return;
            }
            if (status == 404 || status == 410) {
                finish(m_byName ? Outcome::Gone : Outcome::UnknownUrn);
                return;
            }
            const int64_t first = int64_t(m_chunk) * Transfer::ChunkSize;
            const int64_t last = std::min(int64_t(m_lastChunk + 1) * Transfer::ChunkSize, m_size) - 1;
            if (status == 206) {
                const auto range = ParseContentRange(head.header("Content-Range"));
                if (!range || range->range.first != first || range->range.last != last ||
                    range->total != m_size) {
                    finish(Outcome::Failed, 300000);
                    return;
                }
            } else if (status == 200) {
                // The whole file: only usable when the chunk starts it.
                if (first != 0 || head.header("Content-Length").toLongLong() != m_size) {
                    finish(Outcome::Failed, 300000);
                    return;
                }
            } else {
                finish(Outcome::Failed, 120000);
                return;
            }
            m_inBody = true;
            m_remaining = last - first + 1;
            // The rest of a whole file sent for a run that ends before the file does would
            // arrive where the next answer is expected.
            m_closeAfter = head.header("Connection").toLower() == "close" ||
                           head.startLine.startsWith("HTTP/1.0") || (status == 200 && last + 1 < m_size);
            // Body bytes that came with the head.
            if (!rest.isEmpty() && !deliver(rest.constData(), std::min<qint64>(rest.size(), m_remaining))) {
                finish(Outcome::Failed);
                return;
            }
        } else {
            const qint64 allowed = m_callbacks.allowance(std::min<qint64>(m_remaining, m_socket->bytesAvailable()));
            if (allowed <= 0) {
                // The deadline stands still while the limit holds the worker back.
                if (m_timeout.isActive()) {
                    m_deadlineLeft = m_timeout.remainingTime();
                    m_timeout.stop();
                }
                m_throttle.start();
                return;
            }
            const qint64 got = m_socket->read(m_buffer.data(), std::min<qint64>(allowed, m_buffer.size()));
            if (got <= 0 || !deliver(m_buffer.constData(), got)) {
                finish(Outcome::Failed);
                return;
            }
        }
        if (m_inBody && m_remaining == 0) {
            // The next run is as long as this source delivers in about a quarter second.
            const qint64 nanoseconds = std::max<qint64>(m_runClock.nsecsElapsed(), 1);
            m_runLength = int(std::clamp<int64_t>((m_offset - m_runStart) * kRunMs * 1000000 / nanoseconds /
                                                      Transfer::ChunkSize,
                                                  1, kMostRun));
            m_chunk = -1;
            m_lastChunk = -1;
            m_inBody = false;
            m_answered = true;
            if (m_closeAfter || m_closing)
                finish(Outcome::Done);
            else
                requestNext();
        }
    }
}

} // namespace gnutella
