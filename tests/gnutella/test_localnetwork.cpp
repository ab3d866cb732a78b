#include "engine/engineloader.h"
#include "engine/gnucdnaidownloadevent.h"
#include "engine/gnucdnainetworkevent.h"
#include "engine/gnucdnaisearchevent.h"
#include "support/waituntil.h"
#include "support/localnetwork.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

QMap<QString, QByteArray> songs(const QStringList& names, int seed)
{
    QMap<QString, QByteArray> files;
    for (const QString& name : names)
        files.insert(name, LocalNetwork::musicFile(name.section(QLatin1Char('-'), 0, 0).trimmed(),
                                                   name.section(QLatin1Char('-'), 1).trimmed(),
                                                   seed + int(qHash(name) % 1000)));
    return files;
}

TEST(LocalNetwork, LeafFindsFilesTwoHopsAwayWithMergedHostCounts)
{
    LocalNetwork network(QStringLiteral(TAVRIN_PEER_PROGRAM));
    const auto shared = songs({"Beatles - Yesterday.mp3"}, 1);
    auto first = songs({"Beatles - Help.mp3", "Stones - Angie.mp3"}, 2);
    first.insert(shared.firstKey(), shared.first());
    const int a = network.addUltrapeer(first);
    ASSERT_GE(a, 0);
    const int b = network.addUltrapeer(shared, {a});
    ASSERT_GE(b, 0);

    const QList<QByteArray> lines = network.search(b, QStringLiteral("beatles"));
    QMap<QString, int> hosts;
    for (const QByteArray& line : lines) {
        const QJsonObject result = QJsonDocument::fromJson(line).object();
        hosts.insert(result.value(QStringLiteral("name")).toString(),
                     result.value(QStringLiteral("hosts")).toInt());
    }
    EXPECT_EQ(hosts.value(QStringLiteral("Beatles - Yesterday.mp3")), 2) << "the same file on two nodes";
    EXPECT_EQ(hosts.value(QStringLiteral("Beatles - Help.mp3")), 1) << "found two hops away";
    EXPECT_FALSE(hosts.contains(QStringLiteral("Stones - Angie.mp3")));
}

TEST(LocalNetwork, EngineSearchRaisesEventsAndDisconnectCompletes)
{
    LocalNetwork network(QStringLiteral(TAVRIN_PEER_PROGRAM));
    QStringList many;
    for (int i = 0; i < 200; ++i)
        many << QStringLiteral("Band - Track %1.mp3").arg(i);
    const int node = network.addUltrapeer(songs(many, 3));
    ASSERT_GE(node, 0);

    const auto core = LibraryEngineFactory(QStringLiteral(TAVRIN_ENGINE_LIBRARY))();
    ASSERT_TRUE(core);
    const auto search = core->call(10).toObject();
    TGnucDNAINetworkEvent networkSink(QStringLiteral("dnaNetworkEvent"), nullptr);
    TGnucDNAISearchEvent searchSink(QStringLiteral("dnaSearchEvent"), nullptr);
    int changes = 0;
    int results = 0;
    int pauses = 0;
    networkSink.OnChange = [&](auto*, int32_t) { ++changes; };
    searchSink.OnResult = [&](auto*, int32_t, int32_t) { ++results; };
    searchSink.OnPaused = [&](auto*, int32_t) { ++pauses; };
    networkSink.ConnectSink(core->call(5).toObject());
    searchSink.ConnectSink(search);

    core->call(100, {network.address(node)});
    // The node count is read at once; the change event arrives on this thread a little later.
    waitUntil([&] { return changes >= 1 && core->call(5).toObject()->call(15).toInt() == 1; });
    ASSERT_EQ(core->call(5).toObject()->call(15).toInt(), 1);
    EXPECT_GE(changes, 1);
    const int32_t id = search->call(1, {QStringLiteral("band track")}).toInt();
    waitUntil([&] { return pauses > 0; });
    EXPECT_EQ(pauses, 1);
    EXPECT_EQ(results, 150) << "the search pauses itself after enough results";
    search->call(7, {id});
    search->call(36, {id});
    waitUntil([&] { return results == 200; });
    EXPECT_EQ(results, 200) << "continued, the same files are not repeated";

    search->call(2, {id});
    // An ended search raises nothing more, even while its hits still arrive.
    const int32_t ended = search->call(1, {QStringLiteral("band track")}).toInt();
    search->call(2, {ended});
    const int before = results;
    waitUntil([] { return false; }, 700);
    EXPECT_EQ(results, before);
    core->call(4);
    EXPECT_TRUE(core->call(8).toBool());
    waitUntil([&] { return !core->call(8).toBool(); }, 5000);
    EXPECT_FALSE(core->call(8).toBool());
    networkSink.DisconnectSink();
    searchSink.DisconnectSink();
}

// The engine as the program uses it, downloading into folders of its own, connected to one node.
struct DownloadingClient {
    explicit DownloadingClient(const LocalNetwork& network, int node)
    {
        prefs->put(103, false);
        prefs->put(33, music.path());
        prefs->put(62, partials.path());
        searchSink.OnResult = [this](auto*, int32_t, int32_t result) { found = result; };
        downloadSink.OnUpdate = [this](auto*, int32_t) { ++updates; };
        searchSink.ConnectSink(search);
        downloadSink.ConnectSink(download);
        core->call(100, {network.address(node)});
        waitUntil([&] { return core->call(5).toObject()->call(15).toInt() == 1; });
    }
    ~DownloadingClient()
    {
        searchSink.DisconnectSink();
        downloadSink.DisconnectSink();
    }
    // Downloads a result and waits until it is complete; returns its transfer's id.
    int32_t fetch(int32_t searchId, int32_t result)
    {
        const int32_t transfer = search->call(16, {searchId, result}).toInt();
        waitUntil([&] { return download->call(2, {transfer}).toInt() == 9; }, 20000);
        return transfer;
    }

    TestFolder partials;
    TestFolder music;
    std::shared_ptr<Dispatch> core = LibraryEngineFactory(QStringLiteral(TAVRIN_ENGINE_LIBRARY))();
    std::shared_ptr<Dispatch> prefs = core->call(9).toObject();
    std::shared_ptr<Dispatch> search = core->call(10).toObject();
    std::shared_ptr<Dispatch> download = core->call(11).toObject();
    TGnucDNAISearchEvent searchSink{QStringLiteral("dnaSearchEvent"), nullptr};
    TGnucDNAIDownloadEvent downloadSink{QStringLiteral("dnaDownloadEvent"), nullptr};
    int32_t found = -1;
    int updates = 0;
};

TEST(LocalNetwork, ResultDownloadsFromEveryNodeIntoTheMusicFolder)
{
    LocalNetwork network(QStringLiteral(TAVRIN_PEER_PROGRAM));
    const QByteArray song = LocalNetwork::musicFile(QStringLiteral("Band"), QStringLiteral("Song"), 77);
    const QMap<QString, QByteArray> files{{QStringLiteral("Band - Song.mp3"), song.repeated(4)}};
    const int a = network.addUltrapeer(files);
    const int b = network.addUltrapeer(files, {a});
    ASSERT_GE(b, 0);

    DownloadingClient client(network, b);
    const int32_t id = client.search->call(1, {QStringLiteral("band song")}).toInt();
    waitUntil([&] { return client.found >= 0 && client.search->call(13, {id, client.found}).toInt() == 2; });
    ASSERT_GE(client.found, 0);
    EXPECT_EQ(client.search->call(13, {id, client.found}).toInt(), 2);

    const int32_t transfer = client.fetch(id, client.found);
    EXPECT_EQ(client.download->call(1).toIntArray(), QList<int32_t>{transfer});
    ASSERT_EQ(client.download->call(2, {transfer}).toInt(), 9);
    EXPECT_GT(client.updates, 1);
    const QString name = client.download->call(4, {transfer}).toString();
    EXPECT_EQ(name, QStringLiteral("Band - Song.mp3"));
    QFile file(client.music.file(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), files.first());
    EXPECT_EQ(client.download->call(5, {transfer}).toInt(), files.first().size());
    client.download->call(16);
    EXPECT_TRUE(client.download->call(1).toIntArray().isEmpty()) << "housekeeping forgets it";
}

TEST(LocalNetwork, AFirewalledLeafThreeHopsAwayIsFoundAndPushed)
{
    LocalNetwork network(QStringLiteral(TAVRIN_PEER_PROGRAM));
    const QByteArray song = LocalNetwork::musicFile(QStringLiteral("Hidden"), QStringLiteral("Track"), 5);
    const QMap<QString, QByteArray> files{{QStringLiteral("Hidden - Track.mp3"), song.repeated(3)}};
    // The leaf sits at the far end of a chain of three ultrapeers: the query reaches its
    // ultrapeer with its last TTL, and the push goes back three hops.
    const int first = network.addUltrapeer({});
    const int second = network.addUltrapeer({}, {first});
    const int third = network.addUltrapeer({}, {second});
    ASSERT_GE(third, 0);
    ASSERT_GE(network.addFirewalledLeaf(files, third), 0);

    DownloadingClient client(network, first);
    // The leaf may still be connecting: ask again until its hit comes.
    int32_t id = -1;
    for (int attempt = 0; attempt < 10 && client.found < 0; ++attempt) {
        id = client.search->call(1, {QStringLiteral("hidden track")}).toInt();
        waitUntil([&] { return client.found >= 0; }, 1000);
    }
    ASSERT_GE(client.found, 0);

    const int32_t transfer = client.fetch(id, client.found);
    ASSERT_EQ(client.download->call(2, {transfer}).toInt(), 9);
    QFile file(client.music.file(client.download->call(4, {transfer}).toString()));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), files.first());
}

} // namespace
