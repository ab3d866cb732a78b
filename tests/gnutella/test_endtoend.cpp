#include "app/frmmain.h"
#include "downloads/fradownloads.h"
#include "engine/engineloader.h"
#include "library/framedia.h"
#include "library/mpvplayer.h"
#include "search/frasearch.h"
#include "settings/options.h"
#include "support/localnetwork.h"
#include "support/recordingdialogs.h"
#include "support/selectrows.h"
#include "support/testfolder.h"
#include "support/waituntil.h"

#include <QComboBox>
#include <QDir>
#include <QSettings>
#include <QTableView>
#include <gtest/gtest.h>

namespace {

// The whole road on a local network: search in the Search view, download, the file verified in
// the music folder and the library, then played to its end.
TEST(EndToEnd, SearchDownloadLibraryAndPlay)
{
    LocalNetwork network(QStringLiteral(TAVRIN_PEER_PROGRAM));
    const QByteArray song = LocalNetwork::musicFile(QStringLiteral("Road Band"), QStringLiteral("Long Road"), 5);
    // About a second and a half of audio, over 102,400 bytes so the Search view lists it.
    const QMap<QString, QByteArray> files{{QStringLiteral("Road Band - Long Road.mp3"), song}};
    const int a = network.addUltrapeer(files);
    const int b = network.addUltrapeer(files, {a});
    ASSERT_GE(b, 0);

    TestFolder settings;
    TestFolder app;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    QDir(app.path()).mkdir(QStringLiteral("Data"));
    app.write(QStringLiteral("Data/cache.net"), network.address(b).toLatin1() + "\r\n");
    TOptions options(app.path());
    options.Load(QStringLiteral("Software\\TavrinEndToEnd"));
    options.AutoConnect = false;
    options.UpdateCaches = false;
    options.ShowLegalNotice = false;
    RecordingDialogs dialogs;
    auto player = std::make_unique<MpvPlayer>(QStringLiteral("null"));
    ASSERT_TRUE(player->available());
    TfrmMain window(app.path(), options, QStringLiteral("Software\\TavrinEndToEnd"),
                    LibraryEngineFactory(QStringLiteral(TAVRIN_ENGINE_LIBRARY)), std::move(player));
    window.show();
    window.tmrInitGnucDNATimer();
    ASSERT_TRUE(window.Engine.ready());
    // The public bootstrap hosts are never asked in tests.
    window.Engine.Prefs->put(103, false);
    window.ConnectNetwork();
    waitUntil([&] { return window.NetworkUp; }, 10000);
    ASSERT_TRUE(window.NetworkUp);
    EXPECT_EQ(window.StatusText(0), QStringLiteral(" Connected"));

    TfraSearch* search = window.fraSearch1;
    search->cmbKeywords->setEditText(QStringLiteral("road"));
    search->StartSearch();
    waitUntil([&] { return search->results().rowCount() == 1 && search->results().at(0).hosts == 2; });
    ASSERT_EQ(search->results().rowCount(), 1);
    EXPECT_EQ(search->results().at(0).artist, QStringLiteral("Road Band"));
    EXPECT_EQ(search->results().at(0).hosts, 2);

    SelectRows(search->lvwResults, {0});
    search->DownloadSelected();
    TfraDownloads* downloads = window.fraDownloads1;
    ASSERT_EQ(downloads->downloads().rowCount(), 1);
    waitUntil([&] { return downloads->downloads().at(0).status == QStringLiteral("Complete"); }, 20000);
    ASSERT_EQ(downloads->downloads().at(0).status, QStringLiteral("Complete"));

    TfraMedia* media = window.fraMedia1;
    const QString music = app.file(QStringLiteral("My Music"));
    QFile landed(music + QStringLiteral("/Road Band - Long Road.mp3"));
    ASSERT_TRUE(landed.open(QIODevice::ReadOnly));
    EXPECT_EQ(landed.readAll(), song);
    int row = -1;
    for (int i = 0; i < media->model().rowCount(); ++i)
        if (media->model().at(i).fileName == QStringLiteral("Road Band - Long Road.mp3"))
            row = i;
    ASSERT_GE(row, 0);
    EXPECT_EQ(media->model().at(row).title, QStringLiteral("Long Road"));
    EXPECT_EQ(media->model().at(row).artist, QStringLiteral("Road Band"));

    SelectRows(media->lvwMedia, {row});
    media->ToolCommand(0);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tavrin - Road Band - Long Road"));
    waitUntil([&] { return window.windowTitle() == QStringLiteral("Tavrin"); }, 20000);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tavrin")) << "played to its end";
    EXPECT_FALSE(media->Playing);
}

} // namespace
