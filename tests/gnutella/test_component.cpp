#include "automation/connectionpoint.h"
#include "engine/engineloader.h"
#include "support/testfolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

namespace {

// The engine library as the program loads it.
struct ComponentTest : ::testing::Test {
    std::shared_ptr<Dispatch> core;

    void SetUp() override
    {
        core = LibraryEngineFactory(QStringLiteral(TAVRIN_ENGINE_LIBRARY))();
        ASSERT_TRUE(core);
    }

    std::shared_ptr<Dispatch> object(int dispId) { return core->call(dispId).toObject(); }

    static void waitFor(const std::function<bool()>& done)
    {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
};

TEST_F(ComponentTest, VersionObjectsAndMembers)
{
    EXPECT_EQ(core->call(18).toString(), QStringLiteral("1.0.2.6"));
    for (int id : {5, 6, 7, 9, 10, 11, 12, 21, 23})
        EXPECT_TRUE(object(id)) << id;
    EXPECT_EQ(object(9), object(9)) << "one object each";
    EXPECT_NO_THROW(core->put(16, QStringLiteral("Tavrin")));
    EXPECT_NO_THROW(object(9)->put(49, 1024.0f));
    Variant unused;
    EXPECT_EQ(core->invoke(99, DispatchMethod, {}, &unused).code, HResult::DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(core->invoke(18, DispatchPropertyPut, DispParams::positional({1}), nullptr).code,
              HResult::DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(core->invoke(18, DispatchMethod, DispParams::positional({1}), &unused).code,
              HResult::DISP_E_BADPARAMCOUNT);
}

TEST(EngineLibrary, MissingLibraryGivesNoEngine)
{
    EXPECT_EQ(LibraryEngineFactory(QStringLiteral("/nonexistent/libtavrin-gnutella.so"))(), nullptr);
}

TEST_F(ComponentTest, DisconnectCompletesLater)
{
    // With empty caches the engine would ask the public bootstrap hosts; tests never do.
    object(9)->put(103, false);
    EXPECT_FALSE(core->call(8).toBool());
    core->call(3);
    EXPECT_TRUE(core->call(8).toBool());
    EXPECT_EQ(object(5)->call(15).toInt(), 0);
    core->call(4);
    EXPECT_TRUE(core->call(8).toBool()) << "still saying goodbye";
    waitFor([&] { return !core->call(8).toBool(); });
    EXPECT_FALSE(core->call(8).toBool());
}

TEST_F(ComponentTest, HostCachesLoadAndSave)
{
    TestFolder folder;
    const QString path = folder.write(QStringLiteral("cache.net"),
                                      "10.0.0.1:6346\r\n\r\n  10.0.0.2:6346  \n10.0.0.1:6346\n");
    const auto cache = object(6);
    cache->call(1, {path});
    const QString saved = folder.file(QStringLiteral("saved.net"));
    cache->call(5, {saved});
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("10.0.0.1:6346\r\n10.0.0.2:6346\r\n"));
    cache->call(2, {folder.file(QStringLiteral("missing.net"))});
    EXPECT_THROW(cache->call(6, {folder.file(QStringLiteral("no/folder/u.net"))}), AutomationError);
}

TEST_F(ComponentTest, SearchesAndDownloadsKeepTheirState)
{
    const auto search = object(10);
    const auto download = object(11);
    const int32_t first = search->call(1, {QStringLiteral("artist song")}).toInt();
    const int32_t second = search->call(1, {QStringLiteral("other")}).toInt();
    EXPECT_NE(first, second);
    EXPECT_NO_THROW(search->call(7, {first}));
    EXPECT_NO_THROW(search->call(36, {first}));
    EXPECT_THROW(search->call(10, {first, 1}), AutomationError) << "no such result";
    search->call(2, {first});
    EXPECT_THROW(search->call(7, {first}), AutomationError) << "ended";
    EXPECT_TRUE(download->call(1).toIntArray().isEmpty());
    EXPECT_THROW(download->call(2, {123}), AutomationError);
}

} // namespace
