#pragma once

#include <QByteArray>
#include <QList>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

// A small HTTP server on 127.0.0.1 for tests: each connection's request head is recorded and
// answered by the script, which writes to the connection as it likes (whole answers, answers cut
// short, slow trickles) and then returns; the connection is closed after it.
class TestHttpServer final {
public:
    // write(bytes) sends bytes; stopping() tells a slow script to give up.
    using Script = std::function<void(const QByteArray& request,
                                      const std::function<void(const QByteArray&)>& write,
                                      const std::function<bool()>& stopping)>;

    explicit TestHttpServer(Script script);
    ~TestHttpServer();

    int port() const { return m_port; }
    QList<QByteArray> requests() const;

    // A complete answer with a status line, optional Content-Length and body.
    static QByteArray answer(int status, const QByteArray& body, bool withLength = true);

private:
    void serve();

    Script m_script;
    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    mutable std::mutex m_mutex;
    QList<QByteArray> m_requests;
    std::thread m_thread;
};
