#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>

class TInet;

// Runs named HTTP fetches and collects their bodies. The workers' notifications are handed to
// this object's thread (the user-interface thread) and run there in the order raised. When the
// updater is destroyed, running fetches are stopped and waited for; notifications still queued
// are dropped with it.
class TLiveUpdate final : public QObject {
    Q_OBJECT
public:
    explicit TLiveUpdate(QObject* parent = nullptr);
    ~TLiveUpdate() override;

    // Starts a fetch, unless one of that name is still running.
    void Request(const QString& name, const QString& url);
    bool running(const QString& name) const { return m_running.count(name) > 0; }

    std::function<void(const QString& name)> OnFailure;
    std::function<void(const QString& name, const QByteArray& body)> OnComplete;

    // The server port of every fetch; 80, except that tests point it at their own server.
    int Port = 80;

private:
    void pieceArrived(const QString& name, const QByteArray& piece);
    void fetchEnded(const QString& name, bool complete);

    std::map<QString, std::unique_ptr<TInet>> m_running;
    std::map<QString, QByteArray> m_bodies;
};
