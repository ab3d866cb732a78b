// The main window's side of the network engine: its start, connection state, event routing
// and stop.

#include "app/frmmain.h"

#include "common/mediatypes.h"
#include "downloads/fradownloads.h"
#include "engine/gnucdnaidownloadevent.h"
#include "engine/gnucdnainetworkevent.h"
#include "engine/gnucdnaisearchevent.h"
#include "library/framedia.h"
#include "platform/dialogs.h"
#include "search/frasearch.h"
#include "settings/options.h"

#include <QAction>

void TfrmMain::createEventSinks()
{
    dnaNetworkEvent = new TGnucDNAINetworkEvent(QStringLiteral("dnaNetworkEvent"), this);
    dnaSearchEvent = new TGnucDNAISearchEvent(QStringLiteral("dnaSearchEvent"), this);
    dnaDownloadEvent = new TGnucDNAIDownloadEvent(QStringLiteral("dnaDownloadEvent"), this);
    dnaNetworkEvent->OnChange = [this](auto*, int32_t node) { dnaNetworkEventChange(node); };
    dnaSearchEvent->OnResult = [this](auto*, int32_t s, int32_t r) { dnaSearchEventResult(s, r); };
    dnaSearchEvent->OnUpdate = [this](auto*, int32_t s, int32_t r) { dnaSearchEventUpdate(s, r); };
    dnaSearchEvent->OnPaused = [this](auto*, int32_t s) { dnaSearchEventPaused(s); };
    dnaDownloadEvent->OnUpdate = [this](auto*, int32_t d) { dnaDownloadEventUpdate(d); };
}

QString TfrmMain::dataFolder() const
{
    return m_appPath + QStringLiteral("/Data");
}

void TfrmMain::tmrInitGnucDNATimer()
{
    tmrInitGnucDNA.stop();
    EngineStarted = true;
    if (!StartEngine()) {
        Dialogs::instance().warning(
            this, QStringLiteral("Warning"),
            QStringLiteral("Some software components are missing or corrupt. Please reinstall "
                           "Tavrin."));
        ExitRequested = true;
        close();
        return;
    }
    LoadEngineDownloads();
    if (m_options.AutoConnect) {
        ConnectNetwork();
    } else {
        mnuFileConnect->setText(QStringLiteral("Connect"));
        mnuFileConnect->setEnabled(true);
    }
}

bool TfrmMain::StartEngine()
{
    if (!Engine.CreateEngine(m_engineFactory, RequiredEngineVersion))
        return false;
    dnaNetworkEvent->ConnectSink(Engine.Network);
    dnaSearchEvent->ConnectSink(Engine.Search);
    dnaDownloadEvent->ConnectSink(Engine.Download);
    Engine.Core->put(16, QStringLiteral("Tavrin"));
    Engine.Core->put(17, QStringLiteral("1.0.0"));
    Engine.Core->put(22, QStringLiteral("TVRN"));
    Engine.Prefs->put(29, 4);
    Engine.Prefs->put(30, 6);
    LoadHostCaches();
    PushPreferences();
    return true;
}

void TfrmMain::PushPreferences()
{
    Engine.PushPreferences(m_options);
}

void TfrmMain::LoadHostCaches()
{
    Engine.LoadHostCaches(dataFolder());
}

void TfrmMain::SaveHostCaches()
{
    Engine.SaveHostCaches(dataFolder());
}

void TfrmMain::StopEngine()
{
    // Runs while the window is destroyed: nothing may escape from here.
    try {
        if (Engine.ready())
            SaveHostCaches();
    } catch (const AutomationError& error) {
        qWarning("Tavrin: the host caches were not saved: %s", error.what());
    }
    Engine.ReleaseEngine();
}

void TfrmMain::mnuFileConnectClick()
{
    mnuFileConnect->setEnabled(false);
    if (mnuFileConnect->text() == QStringLiteral("Connect"))
        ConnectNetwork();
    else
        DisconnectNetwork();
}

void TfrmMain::ConnectNetwork()
{
    if (Engine.Core->call(8).toBool())
        return;
    Engine.Core->call(3);
    SetStatusText(0, QStringLiteral(" Connecting..."));
}

void TfrmMain::DisconnectNetwork()
{
    if (!Engine.Core->call(8).toBool())
        return;
    Engine.Core->call(4);
    tmrDisconnect.start();
    SetStatusText(0, QStringLiteral(" Disconnecting..."));
}

void TfrmMain::dnaNetworkEventChange(int32_t)
{
    const int32_t nodes = Engine.Network->call(15).toInt();
    if (nodes <= 0)
        return;
    if (!NetworkUp) {
        NetworkUp = true;
        fraSearch1->NetworkConnected();
        mnuFileConnect->setText(QStringLiteral("Disconnect"));
        mnuFileConnect->setEnabled(true);
    }
    SetStatusText(0, nodes > 6 ? QStringLiteral(" Turbo Connected") : QStringLiteral(" Connected"));
}

void TfrmMain::tmrDisconnectTimer()
{
    if (Engine.Core->call(8).toBool())
        return;
    tmrDisconnect.stop();
    NetworkUp = false;
    if (ExitAfterDisconnect) {
        ExitRequested = true;
        close();
        return;
    }
    fraSearch1->NetworkDisconnected();
    mnuFileConnect->setText(QStringLiteral("Connect"));
    mnuFileConnect->setEnabled(true);
    SetStatusText(0, QStringLiteral(" Not Connected"));
}

void TfrmMain::LoadEngineDownloads()
{
    Engine.Download->call(16);
    try {
        const QList<int32_t> ids = Engine.Download->call(1).toIntArray();
        for (int32_t id : ids) {
            const QString name = Engine.Download->call(4, {id}).toString();
            const int32_t size = Engine.Download->call(6, {id}).toInt();
            const int32_t received = Engine.Download->call(5, {id}).toInt();
            fraDownloads1->AddDownload(id, name, size, received);
            Engine.Download->call(17, {id});
        }
    } catch (const AutomationError&) {
        // The listing ends quietly; the rows added so far stay.
    }
}

void TfrmMain::StopAllDownloads()
{
    try {
        const QList<int32_t> ids = Engine.Download->call(1).toIntArray();
        for (int32_t id : ids)
            Engine.Download->call(18, {id});
    } catch (const AutomationError&) {
        // An engine error ends the pausing quietly.
    }
}

void TfrmMain::dnaSearchEventResult(int32_t searchId, int32_t resultId)
{
    const QString fileName = Engine.Search->call(10, {searchId, resultId}).toString();
    const int32_t fileSize = Engine.Search->call(11, {searchId, resultId}).toInt();
    const int32_t hosts = Engine.Search->call(13, {searchId, resultId}).toInt();
    fraSearch1->ResultReceived(searchId, resultId, fileName, fileSize, hosts);
}

void TfrmMain::dnaSearchEventUpdate(int32_t searchId, int32_t resultId)
{
    fraSearch1->ResultUpdated(searchId, resultId,
                              Engine.Search->call(13, {searchId, resultId}).toInt());
}

void TfrmMain::dnaSearchEventPaused(int32_t)
{
    fraSearch1->SearchPaused();
}

void TfrmMain::dnaDownloadEventUpdate(int32_t downloadId)
{
    const int32_t state = Engine.Download->call(2, {downloadId}).toInt();
    if (state == 9) {
        fraDownloads1->DownloadComplete(downloadId);
        const QString fileName = Engine.Download->call(4, {downloadId}).toString();
        const int32_t fileSize = Engine.Download->call(6, {downloadId}).toInt();
        fraMedia1->AddDownloadedFile(fileName, fileSize);
        Engine.Download->call(16);
        return;
    }
    const int32_t received = Engine.Download->call(5, {downloadId}).toInt();
    const int32_t secondsLeft = Engine.Download->call(14, {downloadId}).toInt();
    const int32_t rate = Engine.Download->call(13, {downloadId}).toInt();
    const int32_t hostsKnown = Engine.Download->call(7, {downloadId}).toInt();
    const int32_t hostsActive = Engine.Download->call(11, {downloadId}).toInt();
    fraDownloads1->UpdateDownload(downloadId, received, secondsLeft, rate, hostsKnown,
                                  hostsActive);
}

int32_t TfrmMain::SearchStart(const QString& query)
{
    return Engine.Search->call(1, {query}).toInt();
}

void TfrmMain::SearchEnd(int32_t searchId)
{
    Engine.Search->call(2, {searchId});
}

void TfrmMain::SearchStop(int32_t searchId)
{
    Engine.Search->call(7, {searchId});
}

void TfrmMain::SearchContinue(int32_t searchId)
{
    Engine.Search->call(36, {searchId});
}

void TfrmMain::StartDownload(int32_t searchId, int32_t resultId)
{
    const int32_t id = Engine.Search->call(16, {searchId, resultId}).toInt();
    const QString name = Engine.Download->call(4, {id}).toString();
    const int32_t size = Engine.Download->call(6, {id}).toInt();
    const int32_t received = Engine.Download->call(5, {id}).toInt();
    fraDownloads1->AddDownload(id, name, size, received);
}

void TfrmMain::DownloadResume(int32_t downloadId)
{
    Engine.Download->call(17, {downloadId});
}

void TfrmMain::DownloadPause(int32_t downloadId)
{
    Engine.Download->call(18, {downloadId});
}

void TfrmMain::DownloadRemove(int32_t downloadId)
{
    Engine.Download->call(19, {downloadId});
}

void TfrmMain::DownloadFindMoreHosts(int32_t downloadId)
{
    Engine.Download->call(21, {downloadId});
}

void TfrmMain::PreviewDownload(int32_t downloadId)
{
    const QString path = Engine.Download->call(38, {downloadId}).toString();
    if (MediaTypeOf(path) == QStringLiteral("Audio"))
        fraMedia1->PlayFile(path);
}
