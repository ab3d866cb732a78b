#include "support/waituntil.h"
#include "support/testhttpserver.h"
#include "web/liveupdate.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

namespace {

TEST(LiveUpdate, BodiesArriveWholeOnTheOwnersThread)
{
    const QByteArray list = QByteArray("10.1.2.3:6346\r\n").repeated(200);
    TestHttpServer server([&](const QByteArray&, const auto& write, const auto&) {
        write(TestHttpServer::answer(200, list));
    });
    TLiveUpdate updater;
    updater.Port = server.port();
    QByteArray received;
    QString failed;
    updater.OnComplete = [&](const QString& name, const QByteArray& body) {
        EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
        EXPECT_EQ(name, QStringLiteral("defaultcache"));
        received = body;
    };
    updater.OnFailure = [&](const QString& name) { failed = name; };
    updater.Request(QStringLiteral("defaultcache"), QStringLiteral("http://127.0.0.1/caches/cache.txt"));
    updater.Request(QStringLiteral("defaultcache"), QStringLiteral("http://127.0.0.1/caches/cache.txt"));
    waitUntil([&] { return !received.isEmpty() || !failed.isEmpty(); });
    EXPECT_EQ(received, list);
    EXPECT_EQ(server.requests().size(), 1) << "a running name is not requested again";
    EXPECT_FALSE(updater.running(QStringLiteral("defaultcache")));

    updater.Request(QStringLiteral("defaultcache"), QStringLiteral("http://127.0.0.1/caches/cache.txt"));
    waitUntil([&] { return server.requests().size() == 2 && !updater.running(QStringLiteral("defaultcache")); });
    EXPECT_EQ(server.requests().size(), 2) << "an ended name can be requested anew";
}

TEST(LiveUpdate, ShutdownWhileFetchingStopsAndWaits)
{
    TestHttpServer server([](const QByteArray&, const auto& write, const auto& stopping) {
        write("HTTP/1.0 200 OK\r\nContent-Length: 100000\r\n\r\n");
        for (int i = 0; i < 1000 && !stopping(); ++i) {
            write(QByteArray(10, 's'));
            QThread::msleep(10);
        }
    });
    int notifications = 0;
    QElapsedTimer clock;
    {
        TLiveUpdate updater;
        updater.Port = server.port();
        updater.OnComplete = [&](const QString&, const QByteArray&) { ++notifications; };
        updater.OnFailure = [&](const QString&) { ++notifications; };
        updater.Request(QStringLiteral("defaultwebcache"), QStringLiteral("http://127.0.0.1/w"));
        QThread::msleep(200);
        QCoreApplication::processEvents();
        clock.start();
    }
    EXPECT_LT(clock.elapsed(), 5000);
    QCoreApplication::processEvents();
    EXPECT_EQ(notifications, 0) << "nothing reaches a destroyed updater";
}

} // namespace
