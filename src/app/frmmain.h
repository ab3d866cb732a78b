#pragma once

#include "engine/engineloader.h"
#include "engine/gnucdna.h"
#include "platform/downloadshost.h"
#include "platform/searchhost.h"

#include <QMainWindow>
#include <QTimer>

class AudioPlayer;
class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QMenu;
class QStackedWidget;
class QStatusBar;
class QSystemTrayIcon;
class TGnucDNAIDownloadEvent;
class TGnucDNAINetworkEvent;
class TGnucDNAISearchEvent;
class TLiveUpdate;
class TOptions;
class TSpeedButton;
class TfraDownloads;
class TfraMedia;
class TfraSearch;
class ViewFrame;

// The one top-level window: three views on top of each other, tool buttons, menus, status bar
// and tray icon. Closing it hides it to the tray once the engine has started; only an explicit
// exit ends the program.
class TfrmMain final : public QMainWindow, public SearchHost, public DownloadsHost {
    Q_OBJECT
public:
    // options is the process's options object; the window's destruction never touches it, as
    // it is freed before the window.
    // engineFactory makes the network engine when it is started; player plays music.
    TfrmMain(QString appPath, TOptions& options, QString productKey, EngineFactory engineFactory,
             std::unique_ptr<AudioPlayer> player);
    ~TfrmMain() override;

    // Window events.
    void FormActivate();
    bool FormCloseQuery();

    // Commands.
    void mnuFileMinimizeClick();
    void mnuFileExitClick();
    void mnuViewClick(int tag);
    void mnuExtraLegalNoticeClick();
    void mnuHelpHomeClick();
    void mnuHelpHelpClick();
    void mnuHelpAboutClick();
    void mnuPopMainShowClick();
    void mnuPopMainExitClick();
    void spdViewButtonClick(TSpeedButton* button);
    void spdToolButtonClick(TSpeedButton* button);
    void tmrInitGnucDNATimer();

    // The engine's life: started 5 seconds after the window first shows, connected and
    // disconnected on request, stopped when the window is destroyed.
    bool StartEngine();
    void StopEngine();
    void PushPreferences();
    void LoadHostCaches();
    void SaveHostCaches();
    void ConnectNetwork();
    void DisconnectNetwork();
    void mnuFileConnectClick();
    void dnaNetworkEventChange(int32_t nodeId);
    void tmrDisconnectTimer();
    void LoadEngineDownloads();
    void StopAllDownloads();

    // The engine operations the views use, passed through one each, and the two that combine
    // several.
    int32_t SearchStart(const QString& query) override;
    void SearchEnd(int32_t searchId) override;
    void SearchStop(int32_t searchId) override;
    void SearchContinue(int32_t searchId) override;
    void StartDownload(int32_t searchId, int32_t resultId) override;
    void DownloadResume(int32_t downloadId) override;
    void DownloadPause(int32_t downloadId) override;
    void DownloadRemove(int32_t downloadId) override;
    void DownloadFindMoreHosts(int32_t downloadId) override;
    void PreviewDownload(int32_t downloadId) override;

    // Engine events, routed to the views.
    void dnaSearchEventResult(int32_t searchId, int32_t resultId);
    void dnaSearchEventUpdate(int32_t searchId, int32_t resultId);
    void dnaSearchEventPaused(int32_t searchId);
    void dnaDownloadEventUpdate(int32_t downloadId);

    void SwitchView(int view);
    void ShowToolButtons(int view);
    void MinimizeToTray();
    void RestoreFromTray();
    void ShowLegalNoticeDialog() override;
    // Extra > Control Panel...: the options dialog, then the options applied.
    void ShowControlPanel();
    // The start-up fetches of the bootstrap host-cache lists, and their arrival.
    void RequestWebData();
    void WebDataArrived(const QString& name, const QByteArray& body);
    void ShowAbout();
    // What the views may use of the window.
    QString AppPath() const override { return m_appPath; }
    void SetStatusText(int panel, const QString& text) override;
    void SetCaption(const QString& caption) override { setWindowTitle(caption); }
    QAbstractButton* PlayButton() override;
    QString StatusText(int panel) const;

    bool EngineStarted = false;
    bool ExitAfterDisconnect = false;
    bool NetworkUp = false;
    bool ExitRequested = false;

    QStatusBar* sbrStatus;
    QWidget* pnlToolButtons;
    QFrame* bvlToolButtons;
    TSpeedButton* spdViewMedia;
    TSpeedButton* spdViewSearch;
    TSpeedButton* spdViewTransfers;
    TSpeedButton* spdPlayFile;
    TSpeedButton* spdRenameFile;
    TSpeedButton* spdEditDetails;
    TSpeedButton* spdDeleteFile;
    TSpeedButton* spdLocateMedia;
    TSpeedButton* spdRefreshMedia;
    TSpeedButton* spdClearSearch;
    TSpeedButton* spdDownload;
    TSpeedButton* spdPreviewFile;
    TSpeedButton* spdMoreSources;
    TSpeedButton* spdClearCompleted;
    TfraDownloads* fraDownloads1;
    TfraSearch* fraSearch1;
    TfraMedia* fraMedia1;
    QAction* mnuFileConnect;
    QAction* mnuFileMinimize;
    QAction* mnuFileExit;
    QAction* mnuViewMedia;
    QAction* mnuViewSearch;
    QAction* mnuViewDownloads;
    QAction* mnuExtraLegalNotice;
    QAction* mnuExtraOptions;
    QAction* mnuHelpHome;
    QAction* mnuHelpHelp;
    QAction* mnuHelpAbout;
    QMenu* popMain;
    QAction* mnuPopMainShow;
    QAction* mnuPopMainExit;
    QTimer tmrInitGnucDNA;
    QTimer tmrDisconnect;
    QSystemTrayIcon* TrayIcon;
    std::unique_ptr<TLiveUpdate> LiveUpdate;
    TGnucDNAINetworkEvent* dnaNetworkEvent;
    TGnucDNAISearchEvent* dnaSearchEvent;
    TGnucDNAIDownloadEvent* dnaDownloadEvent;
    // The engine's objects, while it exists.
    TGnucDNA Engine;

    // The oldest engine version the program works with.
    static constexpr int RequiredEngineVersion = 1026;

    // The product web site; Help opens its pages.
    static const QString ProductSite;
    // The server of the bootstrap host-cache lists.
    static const QString BootstrapSite;

signals:
    // The close was granted: the program's message loop ends.
    void Closed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createToolButtons();
    void createMenus();
    void createStatusBar();
    TSpeedButton* addToolButton(int tag, const QString& hint, int glyph);
    TSpeedButton* addViewButton(int tag, const QString& caption, const QString& hint, int glyph,
                                int left);
    ViewFrame* viewOf(int view) const;
    void createEventSinks();
    QString dataFolder() const;
    bool trayAvailable() const;

    QString m_appPath;
    TOptions& m_options;
    QString m_productKey;
    EngineFactory m_engineFactory;
    QStackedWidget* m_views;
    QLabel* m_panels[4];
    QList<TSpeedButton*> m_toolButtons;
    bool m_activated = false;
};
