#include "engine/gnucdna.h"
#include "engine/gnucdnainetworkevent.h"
#include "engine/gnucdnaisearchevent.h"
#include "support/scriptedengine.h"

#include <gtest/gtest.h>

namespace {

TEST(Sinks, PositionalAndNamedArgumentsReachTheHandler)
{
    ScriptedEngine engine;
    TGnucDNAISearchEvent sink(QStringLiteral("dnaSearchEvent"), nullptr);
    QList<std::pair<int, int>> results;
    sink.OnResult = [&](TGnucDNAISearchEvent* sender, int32_t s, int32_t r) {
        EXPECT_EQ(sender, &sink);
        results.append({s, r});
    };
    sink.ConnectSink(engine.Search);
    EXPECT_TRUE(engine.Search->raise(2, {5, 9}).succeeded());

    // Named arguments, given in the other order, are placed by their DispIDs.
    DispParams named;
    named.args = {Variant(int32_t(9)), Variant(int32_t(5))};
    named.namedDispIds = {1, 0};
    EXPECT_TRUE(engine.Search->raise(2, named).succeeded());
    EXPECT_EQ(results, (QList<std::pair<int, int>>{{5, 9}, {5, 9}}));
}

TEST(Sinks, UnknownDispIdAndPropertyPutsAreRefused)
{
    ScriptedEngine engine;
    TGnucDNAINetworkEvent sink(QStringLiteral("dnaNetworkEvent"), nullptr);
    int changes = 0;
    sink.OnChange = [&](auto*, int32_t) { ++changes; };
    sink.ConnectSink(engine.Network);
    EXPECT_EQ(engine.Network->raise(8, {1}).code, HResult::DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(changes, 0);

    const HResult put = sink.invoke(1, DispatchPropertyPut, DispParams::positional({1}), nullptr);
    EXPECT_TRUE(put.failed());
    EXPECT_EQ(put.message, QStringLiteral("TGnucDNAINetworkEvent only supports sinking of method calls!"));
    EXPECT_EQ(changes, 0);

    // Events without a bound handler are decoded and dropped.
    EXPECT_TRUE(engine.Network->raise(5, {1, QStringLiteral("challenge")}).succeeded());
}

TEST(Sinks, AttachingTwiceLeavesOneAdviseAndDetachingForgetsIt)
{
    ScriptedEngine engine;
    {
        TGnucDNAISearchEvent sink(QStringLiteral("dnaSearchEvent"), nullptr);
        sink.ConnectSink(engine.Search);
        sink.ConnectSink(engine.Search);
        EXPECT_EQ(engine.Search->adviseCount(), 1);
        sink.DisconnectSink();
        EXPECT_EQ(engine.Search->adviseCount(), 0);
        sink.ConnectSink(engine.Search);
    }
    EXPECT_EQ(engine.Search->adviseCount(), 0) << "destruction detaches";
}

TEST(Sinks, FailingHandlerBecomesTheCallsFailure)
{
    ScriptedEngine engine;
    TGnucDNAISearchEvent sink(QStringLiteral("dnaSearchEvent"), nullptr);
    sink.OnPaused = [](auto*, int32_t) { throw std::runtime_error("handler broke"); };
    sink.ConnectSink(engine.Search);
    const HResult outcome = engine.Search->raise(6, {3});
    EXPECT_TRUE(outcome.failed());
    EXPECT_EQ(outcome.message, QStringLiteral("handler broke"));
    EXPECT_TRUE(sink.connected());
}

TEST(Sinks, SourceWithoutThePointCannotBeAttached)
{
    ScriptedEngine engine;
    TGnucDNAISearchEvent sink(QStringLiteral("dnaSearchEvent"), nullptr);
    for (const auto& source : {engine.Prefs, engine.Network}) {
        try {
            sink.ConnectSink(source);
            FAIL() << "attached to " << source->name.toStdString();
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.result.message,
                      QStringLiteral("Unable to connect dnaSearchEvent.\rNo such interface supported."));
        }
        EXPECT_FALSE(sink.connected());
    }
}

TEST(EngineVersion, DotsRemovedThenDecimal)
{
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"1.0.2.6", 1026}, {"1.0.2.5", 1025}, {"2.0", 20},   {"1.0.3.0", 1030},
        {"1.0.2.6b", {}},  {"", {}},          {"1.-2", {}}, {" 1026", {}}};
    for (const auto& [text, number] : cases)
        EXPECT_EQ(TGnucDNA::VersionNumber(QString::fromLatin1(text)), number) << text;
}

} // namespace
