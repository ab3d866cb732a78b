// tavrin-peer: a headless Gnutella node on the engine library, driven through the same
// automation contract as the program. It shares a folder, listens, acts as ultrapeer or leaf,
// connects to given peers and, as a leaf, runs one search and prints each result as a JSON
// line. See the README for its options.

#include "engine/engineloader.h"
#include "engine/gnucdnaisearchevent.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <map>

namespace {

void printJson(const QJsonObject& object)
{
    const QByteArray line = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fflush(stdout);
}

int fail(const QString& message)
{
    std::fprintf(stderr, "tavrin-peer: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("A headless Gnutella node."));
    options.addHelpOption();
    options.addOptions({
        {QStringLiteral("listen"), QStringLiteral("Listen on a.b.c.d:port (port 0: any)."), QStringLiteral("address")},
        {QStringLiteral("ultrapeer"), QStringLiteral("Act as an ultrapeer (default: leaf).")},
        {QStringLiteral("share"), QStringLiteral("Share the files of a folder."), QStringLiteral("folder")},
        {QStringLiteral("connect"), QStringLiteral("Connect to a peer a.b.c.d:port (repeatable)."), QStringLiteral("address")},
        {QStringLiteral("search"), QStringLiteral("Search, print the results as JSON lines, end."), QStringLiteral("text")},
        {QStringLiteral("wait"), QStringLiteral("Seconds to gather results (default 5)."), QStringLiteral("seconds"), QStringLiteral("5")},
    });
    options.process(application);

    const QString library = QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                            QLatin1String(kEngineLibraryName);
    const std::shared_ptr<Dispatch> core = LibraryEngineFactory(library)();
    if (!core)
        return fail(QStringLiteral("the engine library %1 cannot be loaded").arg(library));
    try {
        core->put(16, QStringLiteral("tavrin-peer"));
        core->put(17, QStringLiteral("1.0.0"));
        core->put(22, QStringLiteral("TVRN"));
        const std::shared_ptr<Dispatch> prefs = core->call(9).toObject();
        const std::shared_ptr<Dispatch> search = core->call(10).toObject();
        const std::shared_ptr<Dispatch> network = core->call(5).toObject();
        // A demo node uses the peers it is given, never the public bootstrap hosts.
        prefs->put(103, false);
        prefs->put(100, options.isSet(QStringLiteral("ultrapeer")));
        if (options.isSet(QStringLiteral("share")))
            prefs->put(102, options.value(QStringLiteral("share")));
        if (options.isSet(QStringLiteral("listen")))
            prefs->put(101, options.value(QStringLiteral("listen")));
        for (const QString& peer : options.values(QStringLiteral("connect")))
            core->call(100, {peer});
        core->call(3);

        // The address actually listened on tells test harnesses where the node is.
        QJsonObject ready{{QStringLiteral("ready"), true}};
        if (options.isSet(QStringLiteral("listen")))
            ready.insert(QStringLiteral("port"), core->call(101).toInt());
        printJson(ready);

        if (!options.isSet(QStringLiteral("search"))) {
            std::signal(SIGTERM, [](int) { QCoreApplication::quit(); });
            std::signal(SIGINT, [](int) { QCoreApplication::quit(); });
            return application.exec();
        }

        TGnucDNAISearchEvent sink(QStringLiteral("searchEvents"), nullptr);
        std::map<int32_t, int> results; // ResultID -> order seen
        sink.OnResult = [&](auto*, int32_t, int32_t resultId) { results.emplace(resultId, int(results.size())); };
        sink.OnPaused = [&](auto*, int32_t searchId) { search->call(7, {searchId}); search->call(36, {searchId}); };
        sink.ConnectSink(search);
        const QString text = options.value(QStringLiteral("search"));
        const int waitMs = options.value(QStringLiteral("wait")).toInt() * 1000;
        int32_t searchId = -1;
        // The query goes out once a peer is connected.
        QTimer poll;
        poll.setInterval(50);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (searchId < 0 && network->call(15).toInt() > 0)
                searchId = search->call(1, {text}).toInt();
        });
        poll.start();
        QTimer::singleShot(waitMs, &application, &QCoreApplication::quit);
        application.exec();
        poll.stop();
        for (const auto& [resultId, order] : results) {
            printJson({{QStringLiteral("result"), resultId},
                       {QStringLiteral("name"), search->call(10, {searchId, resultId}).toString()},
                       {QStringLiteral("size"), search->call(11, {searchId, resultId}).toInt()},
                       {QStringLiteral("hosts"), search->call(13, {searchId, resultId}).toInt()}});
        }
        sink.DisconnectSink();
        return 0;
    } catch (const AutomationError& error) {
        return fail(QString::fromUtf8(error.what()));
    }
}
