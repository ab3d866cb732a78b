#include "web/liveupdate.h"

#include "web/inet.h"

#include <QMetaObject>

TLiveUpdate::TLiveUpdate(QObject* parent) : QObject(parent) {}

TLiveUpdate::~TLiveUpdate()
{
    for (auto& [name, worker] : m_running)
        worker->Stop();
    // Each worker's destruction waits for its thread.
    m_running.clear();
}

void TLiveUpdate::Request(const QString& name, const QString& url)
{
    if (m_running.count(name) || m_bodies.count(name))
        return;
    auto worker = std::make_unique<TInet>(name);
    worker->Port = Port;
    // Called on the worker's thread: each notification is queued to this object's thread.
    worker->OnData = [this](const QString& n, const QByteArray& piece) {
        QMetaObject::invokeMethod(this, [this, n, piece] { pieceArrived(n, piece); },
                                  Qt::QueuedConnection);
    };
    worker->OnFailure = [this](const QString& n) {
        QMetaObject::invokeMethod(this, [this, n] { fetchEnded(n, false); }, Qt::QueuedConnection);
    };
    worker->OnComplete = [this](const QString& n) {
        QMetaObject::invokeMethod(this, [this, n] { fetchEnded(n, true); }, Qt::QueuedConnection);
    };
    TInet& started = *worker;
    m_running[name] = std::move(worker);
    m_bodies[name];
    started.Start(url);
}

void TLiveUpdate::pieceArrived(const QString& name, const QByteArray& piece)
{
    const auto body = m_bodies.find(name);
    if (body != m_bodies.end())
        body->second += piece;
}

void TLiveUpdate::fetchEnded(const QString& name, bool complete)
{
    // The worker raised its last notification; its thread is ending.
    m_running.erase(name);
    const QByteArray body = m_bodies[name];
    m_bodies.erase(name);
    if (complete) {
        if (OnComplete)
            OnComplete(name, body);
    } else if (OnFailure) {
        OnFailure(name);
    }
}
