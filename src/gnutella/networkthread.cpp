#include "gnutella/networkthread.h"

#include <QMetaObject>
#include <QTcpSocket>

NetworkThread::NetworkThread()
    : m_engine(std::make_unique<gnutella::NetworkEngine>(m_cache)),
      m_downloads(std::make_unique<gnutella::DownloadManager>())
{
    qRegisterMetaType<gnutella::TransferFigures>();
    m_thread.setObjectName(QStringLiteral("Gnutella network"));
    // The engine, its timer and everything it creates later live on the network thread.
    m_engine->moveToThread(&m_thread);
    m_downloads->moveToThread(&m_thread);
    m_anchor.moveToThread(&m_thread);
    // Firewalled sources: the downloads ask for pushes, and the connections they bring are theirs.
    m_downloads->requestPush = [this](const QByteArray& serventGuid, uint32_t index) {
        return m_engine->sendPush(serventGuid, index);
    };
    m_engine->givHandler = [this](const gnutella::GivLine& giv, QTcpSocket* socket) {
        if (m_downloads)
            m_downloads->takeGiv(giv, socket);
        else
            socket->deleteLater();
    };
    QObject::connect(m_engine.get(), &gnutella::NetworkEngine::nodesChanged, m_engine.get(),
                     [this](int count) { m_nodes = count; }, Qt::DirectConnection);
    m_thread.start();
}

NetworkThread::~NetworkThread()
{
    // The engine goes on its own thread, which then ends.
    QMetaObject::invokeMethod(&m_anchor, [this] {
        m_downloads.reset();
        m_engine.reset();
    }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void NetworkThread::post(Work work)
{
    QMetaObject::invokeMethod(
        &m_anchor, [this, work = std::move(work)] { work(*m_engine, m_cache); },
        Qt::QueuedConnection);
}

void NetworkThread::wait(const Work& work)
{
    QMetaObject::invokeMethod(&m_anchor, [this, &work] { work(*m_engine, m_cache); },
                              Qt::BlockingQueuedConnection);
}

void NetworkThread::post(TransferWork work)
{
    QMetaObject::invokeMethod(
        &m_anchor, [this, work = std::move(work)] { work(*m_downloads); }, Qt::QueuedConnection);
}

void NetworkThread::wait(const TransferWork& work)
{
    QMetaObject::invokeMethod(&m_anchor, [this, &work] { work(*m_downloads); },
                              Qt::BlockingQueuedConnection);
}
