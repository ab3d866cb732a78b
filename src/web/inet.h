#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <functional>
#include <thread>

// Fetches one resource over plain HTTP/1.0 on a thread of its own. The body is handed over in
// pieces of at most 1024 bytes as it arrives; then exactly one of OnComplete and OnFailure is
// raised, after the connection has been closed. The notifications run on the worker's thread.
// The fetch is complete only when the bytes received equal the response's Content-Length.
class TInet final {
public:
    explicit TInet(QString name);
    // Asks a running fetch to stop and waits for its thread.
    ~TInet();
    TInet(const TInet&) = delete;
    TInet& operator=(const TInet&) = delete;

    std::function<void(const QString& name, const QByteArray& piece)> OnData;
    std::function<void(const QString& name)> OnComplete;
    std::function<void(const QString& name)> OnFailure;

    // Starts the fetch. An empty user agent is replaced by the default one.
    void Start(const QString& url, const QString& userAgent = {}, const QString& referrer = {});
    // Makes the read loop end after the current piece; the fetch then fails.
    void Stop() { m_stop = true; }
    // Waits for the thread to end.
    void Wait();

    // The host and path of an address: an "http://" prefix (any letter case) is dropped, the
    // host runs to the first "/", the rest is the path. A port in the address is not used.
    struct Address {
        QString host;
        QString path;
    };
    static Address SplitAddress(const QString& url);

    static const char* const DefaultUserAgent;
    // The server port; always 80, except that tests point it at their own server.
    int Port = 80;

    const QString Name;

private:
    void run(QString url, QString userAgent, QString referrer);

    std::thread m_thread;
    std::atomic<bool> m_stop{false};
};
