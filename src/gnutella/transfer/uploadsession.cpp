#include "gnutella/transfer/uploadsession.h"

#include <QTcpSocket>
#include <QUrl>

namespace gnutella {

namespace {
constexpr qint64 kChunk = 64 * 1024;
constexpr qint64 kMaxQueued = 256 * 1024;
constexpr qsizetype kMaxPending = 64 * 1024;
constexpr int kClosingMs = 10000;
} // namespace

UploadSession::UploadSession(QTcpSocket* socket, const SharedIndex& shares, Settings settings,
                             QObject* parent)
    : QObject(parent), m_socket(socket), m_shares(shares), m_settings(std::move(settings))
{
    m_socket->setParent(this);
    connect(m_socket, &QTcpSocket::readyRead, this, &UploadSession::readRequests);
    connect(m_socket, &QTcpSocket::bytesWritten, this, &UploadSession::sendBody);
    connect(m_socket, &QTcpSocket::disconnected, this, &UploadSession::end);
    m_idle.setSingleShot(true);
    connect(&m_idle, &QTimer::timeout, this, &UploadSession::end);
    m_idle.start(m_settings.idleMilliseconds);
    if (m_socket->bytesAvailable() > 0)
        QTimer::singleShot(0, this, &UploadSession::readRequests);
}

UploadSession::~UploadSession()
{
    if (m_settings.uploadSlots) {
        m_settings.uploadSlots->leave(this);
        if (m_holdsSlot)
            m_settings.uploadSlots->give();
    }
}

void UploadSession::end()
{
    if (m_ended)
        return;
    m_ended = true;
    m_idle.stop();
    if (m_settings.uploadSlots) {
        m_settings.uploadSlots->leave(this);
        if (m_holdsSlot)
            m_settings.uploadSlots->give();
    }
    m_holdsSlot = false;
    // What is written still goes out before the session is let go (a last answer, such as a
    // 400), unless the downloader will not take it.
    connect(m_socket, &QTcpSocket::disconnected, this, &UploadSession::release);
    m_socket->disconnectFromHost();
    if (m_socket->state() == QAbstractSocket::UnconnectedState) {
        release();
        return;
    }
    m_idle.disconnect();
    connect(&m_idle, &QTimer::timeout, this, [this] {
        m_socket->abort();
        release();
    });
    m_idle.start(kClosingMs);
}

void UploadSession::release()
{
    if (m_released)
        return;
    m_released = true;
    emit finished();
}

void UploadSession::readRequests()
{
    if (m_ended)
        return;
    m_pending += m_socket->readAll();
    // A downloader that sends far ahead of what it is served is not waited for.
    if (m_pending.size() > kMaxPending) {
        end();
        return;
    }
    // A new request is answered only when the body before it has gone out.
    while (!m_ended && m_remaining == 0 && !m_pending.isEmpty()) {
        HttpHead head;
        QByteArray rest;
        const auto result = m_reader.feed(m_pending, head, rest);
        m_pending.clear();
        if (result == HttpHeadReader::Result::Broken) {
            end();
            return;
        }
        if (result == HttpHeadReader::Result::NeedMore)
            return;
        m_pending = rest;
        m_idle.start(m_settings.idleMilliseconds);
        answer(head);
    }
}

void UploadSession::reply(int status, const char* text, const QByteArray& headers)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(status) + ' ' + text + "\r\n";
    head += "Server: " + m_settings.server + "\r\n" + headers;
    if (status >= 300)
        head += "Content-Length: 0\r\n";
    if (!m_keepAlive)
        head += "Connection: close\r\n";
    m_socket->write(head + "\r\n");
}

bool UploadSession::queue(const QByteArray& headers)
{
    // Asking again well before the time given is flooding: the place is lost with the connection.
    if (m_queued.isValid() && m_queued.elapsed() < (m_settings.pollMinSeconds - 1) * 1000LL) {
        end();
        return true;
    }
    const int place = m_settings.uploadSlots->wait(this);
    if (place == 0)
        return false;
    reply(503, "Queued",
          headers + "X-Queue: position=" + QByteArray::number(place) +
              ",length=" + QByteArray::number(m_settings.uploadSlots->waiting()) +
              ",limit=" + QByteArray::number(m_settings.uploadSlots->count()) +
              ",pollMin=" + QByteArray::number(m_settings.pollMinSeconds) +
              ",pollMax=" + QByteArray::number(m_settings.pollMaxSeconds) + "\r\n");
    m_queued.start();
    // Not back in time: the place goes.
    m_idle.start(m_settings.pollMaxSeconds * 1000);
    return true;
}

void UploadSession::answer(const HttpHead& request)
{
    const QList<QByteArray> words = request.startLine.split(' ');
    const bool head = words.value(0) == "HEAD";
    const QByteArray version = words.value(2);
    m_keepAlive = version == "HTTP/1.1" ? request.header("Connection").toLower() != "close"
                                        : request.header("Connection").toLower() == "keep-alive";
    if (words.size() != 3 || (!head && words[0] != "GET") || !version.startsWith("HTTP/1.")) {
        m_keepAlive = false;
        reply(400, "Bad Request");
        end();
        return;
    }
    const QByteArray target = words[1];
    const SharedIndex::File* file = nullptr;
    if (target.startsWith("/uri-res/N2R?")) {
        file = m_shares.byUrn(target.mid(13));
    } else if (target.startsWith("/get/")) {
        const QByteArray rest = target.mid(5);
        bool ok = false;
        const uint index = rest.left(rest.indexOf('/')).toUInt(&ok);
        if (ok)
            file = m_shares.byIndex(index);
    }
    if (!file) {
        reply(404, "Not Found");
        return;
    }
    const auto range = request.header("Range").isEmpty()
                           ? std::optional<ByteRange>(ByteRange{0, int64_t(file->size) - 1})
                           : ParseRange(request.header("Range"), file->size);
    const QByteArray urn = "X-Gnutella-Content-URN: " + file->sha1Urn + "\r\n";
    if (!range || file->size == 0) {
        reply(416, "Requested Range Not Satisfiable",
              urn + "Content-Range: bytes */" + QByteArray::number(file->size) + "\r\n");
        return;
    }
    if (!head && !m_holdsSlot && m_settings.uploadSlots) {
        if (!m_settings.uploadSlots->take(this)) {
            if (request.header("X-Queue").isEmpty() || !m_keepAlive || !queue(urn))
                reply(503, "Busy", urn + "Retry-After: 30\r\n");
            return;
        }
        m_holdsSlot = true;
    }
    m_file.close();
    m_file.setFileName(file->path);
    if (!m_file.open(QIODevice::ReadOnly) || !m_file.seek(range->first)) {
        reply(404, "Not Found");
        return;
    }
    const bool partial = !request.header("Range").isEmpty();
    QByteArray headers = urn + "Accept-Ranges: bytes\r\nContent-Type: application/octet-stream\r\n" +
                         "Content-Length: " + QByteArray::number(range->length()) + "\r\n";
    if (partial)
        headers += "Content-Range: bytes " + QByteArray::number(range->first) + '-' +
                   QByteArray::number(range->last) + '/' + QByteArray::number(file->size) + "\r\n";
    reply(partial ? 206 : 200, partial ? "Partial Content" : "OK", headers);
    m_remaining = head ? 0 : range->length();
    sendBody();
}

void UploadSession::sendBody()
{
    if (m_ended)
        return;
    while (m_remaining > 0 && m_socket->bytesToWrite() < kMaxQueued) {
        const QByteArray piece = m_file.read(std::min<qint64>(kChunk, m_remaining));
        if (piece.isEmpty()) {
            end(); // the file shrank under us
            return;
        }
        m_socket->write(piece);
        m_remaining -= piece.size();
    }
    if (m_remaining == 0) {
        m_idle.start(m_settings.idleMilliseconds);
        if (!m_keepAlive && m_socket->bytesToWrite() == 0)
            end();
        else if (!m_pending.isEmpty() || m_socket->bytesAvailable() > 0)
            QTimer::singleShot(0, this, &UploadSession::readRequests);
    }
}

} // namespace gnutella
