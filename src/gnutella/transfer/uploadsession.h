#pragma once

#include "gnutella/net/sharedindex.h"
#include "gnutella/transfer/httphead.h"

#include <QFile>
#include <QObject>
#include <QTimer>
#include <functional>

class QTcpSocket;

namespace gnutella {

// Serves shared files to one downloader over HTTP/1.1: GET and HEAD of
// /uri-res/N2R?urn:sha1:... and /get/<index>/<name>, one byte range a request, several requests
// a connection. While no upload slot is free it answers 503 with Retry-After.
class UploadSession final : public QObject {
    Q_OBJECT
public:
    struct Settings {
        QByteArray server = "Tavrin/1.0.0";
        int idleMilliseconds = 60000;
        // Asked before each body: may this upload run now? done() gives the slot back.
        std::function<bool()> takeSlot;
        std::function<void()> giveSlot;
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
    void end();

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
    QTimer m_idle;
};

} // namespace gnutella
