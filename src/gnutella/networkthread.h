#pragma once

#include "gnutella/net/hostcache.h"
#include "gnutella/net/networkengine.h"
#include "gnutella/transfer/downloadmanager.h"

#include <QThread>
#include <atomic>
#include <functional>
#include <memory>

// The engine's network work runs on a thread of its own, so no peer can hold up the
// user-interface thread. Calls from the automation objects are handed over to that thread:
// most without waiting, file work (host caches, listening) waiting for its result. The node
// count and the listening port are kept as figures that any thread may read.
class NetworkThread final {
public:
    NetworkThread();
    ~NetworkThread();
    NetworkThread(const NetworkThread&) = delete;
    NetworkThread& operator=(const NetworkThread&) = delete;

    using Work = std::function<void(gnutella::NetworkEngine&, gnutella::HostCache&)>;
    using TransferWork = std::function<void(gnutella::DownloadManager&)>;
    void post(TransferWork work);
    void wait(const TransferWork& work);
    gnutella::DownloadManager* downloads() const { return m_downloads.get(); }
    // Runs work on the network thread after the current call.
    void post(Work work);
    // Runs work on the network thread and waits for it.
    void wait(const Work& work);

    int nodeCount() const { return m_nodes.load(); }
    quint16 listenPort() const { return m_port.load(); }
    void setListenPort(quint16 port) { m_port = port; }

    // For connecting to its signals, which arrive queued on the receiver's thread.
    gnutella::NetworkEngine* engine() const { return m_engine.get(); }

private:
    gnutella::HostCache m_cache;
    std::unique_ptr<gnutella::NetworkEngine> m_engine;
    std::unique_ptr<gnutella::DownloadManager> m_downloads;
    // Runs the handed-over work on the network thread.
    QObject m_anchor;
    QThread m_thread;
    std::atomic<int> m_nodes{0};
    std::atomic<quint16> m_port{0};
};
