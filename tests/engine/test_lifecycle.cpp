#include "support/mainwindowfixture.h"

#include <QAction>
#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

struct LifecycleTest : MainWindowFixture {
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        options->AutoConnect = true;
    }

    QString quoted(const char* name) const
    {
        return QLatin1Char('"') + appFolder.path() + QStringLiteral("/Data/") +
               QLatin1String(name) + QLatin1Char('"');
    }

    // The calls in expected, in this order, appear among the engine's calls.
    void expectInOrder(const QStringList& expected)
    {
        qsizetype at = 0;
        for (const QString& call : expected) {
            at = engine.calls.indexOf(call, at);
            ASSERT_GE(at, 0) << call.toStdString() << " missing or out of order in\n"
                             << engine.calls.join(QLatin1Char('\n')).toStdString();
            ++at;
        }
    }
};

TEST_F(LifecycleTest, StartHandsOverIdentityPreferencesAndCachesThenConnects)
{
    options->MaxKbpsDownloads = 48;
    window->tmrInitGnucDNATimer();
    expectInOrder({"Core#18", "Core#9", "Core#5", "Core#6", "Core#7", "Core#10", "Core#11",
                   "Core#12", "Core#21", "Core#23", "Core#16=\"Tavrin\"", "Core#17=\"1.0.0\"",
                   "Core#22=\"TVRN\"", "Prefs#29=4", "Prefs#30=6",
                   "Cache#1(" + quoted("cache.net") + ")", "Cache#2(" + quoted("ultracache.net") + ")",
                   "Cache#3(" + quoted("webcache.net") + ")",
                   "Prefs#33=\"" + appFolder.path() + "/My Music\"",
                   "Prefs#62=\"" + appFolder.path() + "/Partials\"", "Prefs#45=30", "Prefs#49=48",
                   "Download#16", "Download#1", "Core#8", "Core#3"});
    EXPECT_EQ(engine.Network->adviseCount(), 1);
    EXPECT_EQ(engine.Search->adviseCount(), 1);
    EXPECT_EQ(engine.Download->adviseCount(), 1);
    EXPECT_EQ(window->StatusText(0), QStringLiteral(" Connecting..."));
    EXPECT_FALSE(window->mnuFileConnect->isEnabled());
    EXPECT_TRUE(QFile::exists(appFolder.file(QStringLiteral("Data/webcache.net"))));
    EXPECT_TRUE(dialogs.shown.isEmpty());
}

TEST_F(LifecycleTest, WithoutAutoConnectTheMenuItemBecomesUsable)
{
    options->AutoConnect = false;
    window->tmrInitGnucDNATimer();
    EXPECT_TRUE(window->mnuFileConnect->isEnabled());
    EXPECT_EQ(window->mnuFileConnect->text(), QStringLiteral("Connect"));
    EXPECT_EQ(window->StatusText(0), QStringLiteral(" Not Connected"));
    EXPECT_FALSE(engine.calls.contains(QStringLiteral("Core#3")));

    window->mnuFileConnectClick();
    EXPECT_TRUE(engine.calls.contains(QStringLiteral("Core#3")));
    EXPECT_EQ(window->StatusText(0), QStringLiteral(" Connecting..."));
}

TEST_F(LifecycleTest, MissingOrOldEngineEndsTheProgramWithTheWarning)
{
    const auto refused = [&](const std::function<void(ScriptedEngine&)>& setUp) {
        ScriptedEngine other;
        setUp(other);
        RecordingDialogs recorder;
        TfrmMain main(appFolder.path(), *options, ProductKey, other.factory(),
                      std::make_unique<RecorderPlayer>());
        QSignalSpy closed(&main, &TfrmMain::Closed);
        main.tmrInitGnucDNATimer();
        EXPECT_EQ(recorder.shown,
                  QStringList{QStringLiteral("warning|Warning|Some software components are "
                                             "missing or corrupt. Please reinstall Tavrin.")});
        EXPECT_TRUE(main.ExitRequested);
        EXPECT_EQ(closed.count(), 1);
        EXPECT_FALSE(other.calls.contains(QStringLiteral("Core#9")));
    };
    refused([](ScriptedEngine& e) { e.missing = true; });
    refused([](ScriptedEngine& e) { e.version = QStringLiteral("1.0.2.5"); });
    refused([](ScriptedEngine& e) { e.version = QStringLiteral("2.0"); });
    refused([](ScriptedEngine& e) { e.version = QStringLiteral("1.0.x"); });
    refused([](ScriptedEngine& e) { e.failing.insert(QStringLiteral("Core#18")); });
}

TEST_F(LifecycleTest, NodeReportsSetTheConnectionState)
{
    window->tmrInitGnucDNATimer();
    const std::pair<int, const char*> reports[] = {
        {6, " Connected"}, {7, " Turbo Connected"}, {3, " Connected"}, {0, " Connected"}};
    for (const auto& [nodes, text] : reports) {
        engine.nodes = nodes;
        EXPECT_TRUE(engine.Network->raise(1, {42}).succeeded());
        EXPECT_EQ(window->StatusText(0), QString::fromLatin1(text)) << nodes;
    }
    EXPECT_TRUE(window->NetworkUp);
    EXPECT_EQ(window->mnuFileConnect->text(), QStringLiteral("Disconnect"));
    EXPECT_TRUE(window->mnuFileConnect->isEnabled());
}

TEST_F(LifecycleTest, DisconnectWaitsForTheEngine)
{
    window->tmrInitGnucDNATimer();
    engine.nodes = 2;
    engine.Network->raise(1, {1});
    window->mnuFileConnectClick();
    EXPECT_TRUE(engine.calls.contains(QStringLiteral("Core#4")));
    EXPECT_EQ(window->StatusText(0), QStringLiteral(" Disconnecting..."));
    EXPECT_TRUE(window->tmrDisconnect.isActive());
    window->tmrDisconnectTimer();
    EXPECT_EQ(window->StatusText(0), QStringLiteral(" Disconnecting..."));

    engine.connected = false;
    window->tmrDisconnectTimer();
    EXPECT_FALSE(window->tmrDisconnect.isActive());
    EXPECT_FALSE(window->NetworkUp);
    EXPECT_EQ(window->StatusText(0), QStringLiteral(" Not Connected"));
    EXPECT_EQ(window->mnuFileConnect->text(), QStringLiteral("Connect"));
    EXPECT_TRUE(window->mnuFileConnect->isEnabled());
}

TEST_F(LifecycleTest, ExitWhileConnectedPausesDisconnectsThenCloses)
{
    window->show();
    window->tmrInitGnucDNATimer();
    engine.replies[QStringLiteral("Download#1")] = QList<int32_t>{3, 4};
    QSignalSpy closed(window.get(), &TfrmMain::Closed);
    engine.calls.clear();
    window->mnuFileExitClick();
    EXPECT_EQ(closed.count(), 0);
    EXPECT_TRUE(window->ExitAfterDisconnect);
    expectInOrder({"Core#8", "Download#1", "Download#18(3)", "Download#18(4)", "Core#4"});
    EXPECT_EQ(window->StatusText(0), QStringLiteral(" Disconnecting..."));

    window->tmrDisconnectTimer();
    EXPECT_EQ(closed.count(), 0);
    engine.connected = false;
    window->tmrDisconnectTimer();
    EXPECT_EQ(closed.count(), 1);
}

TEST_F(LifecycleTest, EngineDownloadsAreListedAndResumed)
{
    engine.replies[QStringLiteral("Download#1")] = QList<int32_t>{7, 8, 9};
    engine.failing.insert(QStringLiteral("Download#4(8)"));
    window->tmrInitGnucDNATimer();
    expectInOrder({"Download#16", "Download#1", "Download#4(7)", "Download#6(7)", "Download#5(7)",
                   "Download#17(7)", "Download#4(8)", "Core#3"});
    EXPECT_FALSE(engine.calls.contains(QStringLiteral("Download#4(9)")))
        << "an engine error ends the listing";
}

TEST_F(LifecycleTest, EventsAreReadInTheDesignedOrder)
{
    window->tmrInitGnucDNATimer();
    engine.calls.clear();
    engine.Search->raise(2, {5, 9});
    engine.Search->raise(1, {5, 9});
    engine.replies[QStringLiteral("Download#2(4)")] = int32_t(1);
    engine.Download->raise(1, {4});
    engine.replies[QStringLiteral("Download#2(4)")] = int32_t(9);
    engine.Download->raise(1, {4});
    EXPECT_EQ(engine.calls,
              (QStringList{"Search#10(5,9)", "Search#11(5,9)", "Search#13(5,9)", "Search#13(5,9)",
                           "Download#2(4)", "Download#5(4)", "Download#14(4)", "Download#13(4)",
                           "Download#7(4)", "Download#11(4)", "Download#2(4)", "Download#4(4)",
                           "Download#6(4)", "Download#16"}));
}

TEST_F(LifecycleTest, DestructionSavesTheHostCachesAndReleasesTheEngine)
{
    window->tmrInitGnucDNATimer();
    engine.calls.clear();
    window.reset();
    EXPECT_EQ(engine.calls, (QStringList{"Cache#5(" + quoted("cache.net") + ")",
                                         "Cache#6(" + quoted("ultracache.net") + ")",
                                         "Cache#7(" + quoted("webcache.net") + ")"}));
    EXPECT_EQ(engine.Search->adviseCount(), 0);
    EXPECT_EQ(engine.Core.use_count(), 1) << "the window holds no engine reference";
}

TEST_F(LifecycleTest, CacheMergeRunsAtEachStart)
{
    TestFolder unused;
    QFile defaults(appFolder.file(QStringLiteral("Data/defaultcache.net")));
    ASSERT_TRUE(defaults.open(QIODevice::WriteOnly));
    defaults.write("10.0.0.2:6346\r\n10.0.0.1:6346\r\n");
    defaults.close();
    window->tmrInitGnucDNATimer();
    QFile cache(appFolder.file(QStringLiteral("Data/cache.net")));
    ASSERT_TRUE(cache.open(QIODevice::ReadOnly));
    EXPECT_EQ(cache.readAll(), QByteArray("10.0.0.1:6346\r\n10.0.0.2:6346\r\n"));
}

} // namespace
