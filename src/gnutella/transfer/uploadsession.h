#pragma once

#include "gnutella/net/sharedindex.h"
#include "gnutella/transfer/httphead.h"
#include "gnutella/transfer/uploadslots.h"

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QTimer>

class QTcpSocket;

namespace gnutella {

// Serves shared files to one downloader over HTTP/1.1: GET and HEAD of
// /uri-res/N2R?urn:sha1:... and /get/<index>/<name>, one byte range a request, several requests
// a connection. While no upload slot is free it answers 503: with its place in the line
// ("X-Queue") to a downloader that said it can wait and keeps the connection, with Retry-After
// to others.
class UploadSession final : public QObject {
    Q_OBJECT
public:
    struct Settings {
        QByteArray server = "Tavrin/1.0.0";
        int idleMilliseconds = 60000;
        // Shared by the node's sessions; none: every request is served.
        UploadSlots* uploadSlots = nullptr;
        // When a downloader in line is to ask again.
        int pollMinSeconds = 10;
        int pollMaxSeconds = 60;
    };

    UploadSession(QTcpSocket* socket, const SharedIndex& shares, Settings settings,
                  QObject* parent = nullptr);
    ~UploadSession() override;

signals:
    void finished();

private:
    void readRequests();
    void answer(const HttpHead& request);
    void sendBody();
    void reply(int status, const char* text, const QByteArray& headers = {});
    // Keeps the downloader's place in line and tells it; false when the line is full.
    bool queue(const QByteArray& headers);
    void end();
    void release();

    QTcpSocket* m_socket;
    const SharedIndex& m_shares;
    Settings m_settings;
    HttpHeadReader m_reader;
    QByteArray m_pending;
    QFile m_file;
    int64_t m_remaining = 0;
    bool m_keepAlive = true;
    bool m_holdsSlot = false;
    bool m_ended = false;
    bool m_released = false; // finished() was emitted
    QTimer m_idle;
    QElapsedTimer m_queued; // since the downloader was last told its place
};

} // namespace gnutella
