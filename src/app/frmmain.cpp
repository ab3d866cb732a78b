#include "app/frmmain.h"

#include "app/frmlegalnotice.h"
#include "app/speedbutton.h"
#include "common/fileutils.h"
#include "downloads/fradownloads.h"
#include "library/audioplayer.h"
#include "library/framedia.h"
#include "platform/artwork.h"
#include "platform/dialogs.h"
#include "platform/shell.h"
#include "search/frasearch.h"
#include "settings/frmoptions.h"
#include "settings/options.h"
#include "web/liveupdate.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QVBoxLayout>

const QString TfrmMain::ProductSite = QStringLiteral("https://www.tavrin.example");
const QString TfrmMain::BootstrapSite = QStringLiteral("http://" TAVRIN_BOOTSTRAP_HOST);

namespace {

constexpr int kViewMusic = 1;
constexpr int kViewSearch = 2;
constexpr int kViewDownloads = 3;
constexpr int kCommandLeft = 345;
constexpr int kCommandStep = 42;
constexpr int kButtonTop = 3;

using Glyph = Artwork::Glyph;

} // namespace

TfrmMain::TfrmMain(QString appPath, TOptions& options, QString productKey,
                   EngineFactory engineFactory, std::unique_ptr<AudioPlayer> player)
    : m_appPath(std::move(appPath)), m_options(options), m_productKey(std::move(productKey)),
      m_engineFactory(std::move(engineFactory))
{
    setWindowTitle(QStringLiteral("Tavrin"));
    setWindowIcon(Artwork::programIcon());
    resize(760, 669);
    setMinimumSize(648, 465);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);
    createToolButtons();
    layout->addWidget(pnlToolButtons);

    m_views = new QStackedWidget(client);
    fraDownloads1 = new TfraDownloads(*this, m_options, m_views);
    fraSearch1 = new TfraSearch(*this, m_options, m_views);
    fraMedia1 = new TfraMedia(*this, std::move(player), m_views);
    fraDownloads1->setObjectName(QStringLiteral("fraDownloads1"));
    fraSearch1->setObjectName(QStringLiteral("fraSearch1"));
    fraMedia1->setObjectName(QStringLiteral("fraMedia1"));
    m_views->addWidget(fraMedia1);
    m_views->addWidget(fraSearch1);
    m_views->addWidget(fraDownloads1);
    layout->addWidget(m_views, 1);
    setCentralWidget(client);

    createMenus();
    createStatusBar();

    tmrInitGnucDNA.setInterval(5000);
    tmrInitGnucDNA.setSingleShot(true);
    connect(&tmrInitGnucDNA, &QTimer::timeout, this, &TfrmMain::tmrInitGnucDNATimer);
    tmrDisconnect.setInterval(1000);
    connect(&tmrDisconnect, &QTimer::timeout, this, &TfrmMain::tmrDisconnectTimer);
    connect(mnuFileConnect, &QAction::triggered, this, &TfrmMain::mnuFileConnectClick);
    createEventSinks();

    // Creation, in order: the web data updater, the views, then the tray icon, which is shown
    // at the first activation.
    LiveUpdate = std::make_unique<TLiveUpdate>();
    LiveUpdate->OnFailure = [](const QString&) {};
    LiveUpdate->OnComplete = [this](const QString& name, const QByteArray& body) {
        WebDataArrived(name, body);
    };
    fraMedia1->Initialize();
    fraSearch1->Initialize();
    fraDownloads1->Initialize();

    TrayIcon = new QSystemTrayIcon(windowIcon(), this);
    TrayIcon->setToolTip(QStringLiteral("Tavrin"));
    TrayIcon->setContextMenu(popMain);
    connect(TrayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    RestoreFromTray();
            });
    SwitchView(kViewMusic);
    // A library error ends the first scan, not the window's creation.
    try {
        fraMedia1->SetMusicFolder(m_options.DownloadsPath);
    } catch (const std::exception& error) {
        qWarning("Tavrin: the music folder was not scanned: %s", error.what());
    }
}

TfrmMain::~TfrmMain()
{
    fraMedia1->Finalize();
    fraSearch1->Finalize();
    fraDownloads1->Finalize();
    StopEngine();
    TrayIcon->hide();
    // Running fetches are stopped and waited for before their updater goes.
    LiveUpdate.reset();
}

TSpeedButton* TfrmMain::addToolButton(int tag, const QString& hint, int glyph)
{
    auto* button = new TSpeedButton(tag, pnlToolButtons);
    button->setToolTip(hint);
    button->setIcon(Artwork::glyph(Glyph(glyph)));
    button->setIconSize(QSize(32, 32));
    button->setGeometry(kCommandLeft + (tag % 100) * kCommandStep, kButtonTop, 39, 39);
    connect(button, &QToolButton::clicked, this, [this, button] { spdToolButtonClick(button); });
    m_toolButtons.append(button);
    return button;
}

TSpeedButton* TfrmMain::addViewButton(int tag, const QString& caption, const QString& hint,
                                      int glyph, int left)
{
    auto* button = new TSpeedButton(tag, pnlToolButtons);
    button->setText(caption);
    button->setToolTip(hint);
    button->setIcon(Artwork::glyph(Glyph(glyph)));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setCheckable(true);
    button->setAutoExclusive(true);
    button->setGeometry(left, kButtonTop, 109, 39);
    connect(button, &QToolButton::clicked, this, [this, button] { spdViewButtonClick(button); });
    m_toolButtons.append(button);
    return button;
}

void TfrmMain::createToolButtons()
{
    pnlToolButtons = new QWidget(this);
    pnlToolButtons->setObjectName(QStringLiteral("pnlToolButtons"));
    pnlToolButtons->setFixedHeight(45);
    spdViewMedia = addViewButton(kViewMusic, QStringLiteral("Music"),
                                 QStringLiteral("Manage and Play your Music Files"),
                                 int(Glyph::Music), 3);
    spdViewSearch = addViewButton(kViewSearch, QStringLiteral("Search"),
                                  QStringLiteral("Search for Music Files"), int(Glyph::Search),
                                  115);
    spdViewTransfers = addViewButton(kViewDownloads, QStringLiteral("Downloads"),
                                     QStringLiteral("Monitor your Downloads"),
                                     int(Glyph::Downloads), 227);
    spdViewMedia->setChecked(true);

    bvlToolButtons = new QFrame(pnlToolButtons);
    bvlToolButtons->setFrameShape(QFrame::VLine);
    bvlToolButtons->setFrameShadow(QFrame::Sunken);
    bvlToolButtons->setGeometry(339, kButtonTop, 2, 39);

    spdPlayFile = addToolButton(100, QStringLiteral("Play Selected Files"), int(Glyph::Play));
    spdRenameFile = addToolButton(101, QStringLiteral("Rename Selected File"), int(Glyph::Rename));
    spdEditDetails =
        addToolButton(102, QStringLiteral("Edit MP3 Tag of Selected File"), int(Glyph::Details));
    spdDeleteFile = addToolButton(103, QStringLiteral("Delete Selected Files"), int(Glyph::Delete));
    spdLocateMedia = addToolButton(104, QStringLiteral("Locate Selected File"), int(Glyph::Locate));
    spdRefreshMedia = addToolButton(105, QStringLiteral("Refresh Music View"), int(Glyph::Refresh));
    spdClearSearch = addToolButton(200, QStringLiteral("New Search"), int(Glyph::NewSearch));
    spdDownload = addToolButton(201, QStringLiteral("Download Selected Search Results"),
                                int(Glyph::Download));
    spdPreviewFile =
        addToolButton(300, QStringLiteral("Preview Selected Download"), int(Glyph::Preview));
    spdMoreSources = addToolButton(301, QStringLiteral("Find More Hosts for Selected Downloads"),
                                   int(Glyph::MoreSources));
    spdClearCompleted = addToolButton(302, QStringLiteral("Clear Completed Downloads"),
                                      int(Glyph::ClearCompleted));
}

void TfrmMain::createMenus()
{
    QMenuBar* bar = menuBar();
    QMenu* file = bar->addMenu(QStringLiteral("File"));
    mnuFileConnect = file->addAction(QStringLiteral("Connect"));
    mnuFileConnect->setEnabled(false);
    file->addSeparator();
    mnuFileMinimize = file->addAction(QStringLiteral("Minimize To Tray"));
    file->addSeparator();
    mnuFileExit = file->addAction(QStringLiteral("Exit"));
    connect(mnuFileMinimize, &QAction::triggered, this, &TfrmMain::mnuFileMinimizeClick);
    connect(mnuFileExit, &QAction::triggered, this, &TfrmMain::mnuFileExitClick);

    QMenu* view = bar->addMenu(QStringLiteral("View"));
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    const auto addViewItem = [&](const QString& caption, int tag) {
        QAction* item = view->addAction(caption);
        item->setCheckable(true);
        item->setData(tag);
        group->addAction(item);
        connect(item, &QAction::triggered, this, [this, tag] { mnuViewClick(tag); });
        return item;
    };
    mnuViewMedia = addViewItem(QStringLiteral("Music"), 0);
    mnuViewSearch = addViewItem(QStringLiteral("Search"), 1);
    mnuViewDownloads = addViewItem(QStringLiteral("Downloads"), 2);

    QMenu* extra = bar->addMenu(QStringLiteral("Extra"));
    mnuExtraLegalNotice = extra->addAction(QStringLiteral("Legal Notice..."));
    extra->addSeparator();
    mnuExtraOptions = extra->addAction(QStringLiteral("Control Panel..."));
    connect(mnuExtraLegalNotice, &QAction::triggered, this, &TfrmMain::mnuExtraLegalNoticeClick);
    connect(mnuExtraOptions, &QAction::triggered, this, &TfrmMain::ShowControlPanel);

    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    mnuHelpHome = help->addAction(QStringLiteral("Home..."));
    help->addSeparator();
    mnuHelpHelp = help->addAction(QStringLiteral("Help..."));
    help->addSeparator();
    mnuHelpAbout = help->addAction(QStringLiteral("About..."));
    connect(mnuHelpHome, &QAction::triggered, this, &TfrmMain::mnuHelpHomeClick);
    connect(mnuHelpHelp, &QAction::triggered, this, &TfrmMain::mnuHelpHelpClick);
    connect(mnuHelpAbout, &QAction::triggered, this, &TfrmMain::mnuHelpAboutClick);

    popMain = new QMenu(this);
    mnuPopMainShow = popMain->addAction(QStringLiteral("Show Tavrin"));
    popMain->addSeparator();
    mnuPopMainExit = popMain->addAction(QStringLiteral("Exit Tavrin"));
    connect(mnuPopMainShow, &QAction::triggered, this, &TfrmMain::mnuPopMainShowClick);
    connect(mnuPopMainExit, &QAction::triggered, this, &TfrmMain::mnuPopMainExitClick);
}

void TfrmMain::createStatusBar()
{
    sbrStatus = statusBar();
    sbrStatus->setFixedHeight(19 + 4);
    const QString texts[4] = {QStringLiteral(" Not Connected"),
                              QStringLiteral(" No Search in Progress"),
                              QStringLiteral(" Downloads: 0"), QStringLiteral(" Music Files: 0")};
    for (int i = 0; i < 4; ++i) {
        m_panels[i] = new QLabel(texts[i], sbrStatus);
        m_panels[i]->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        if (i < 3)
            m_panels[i]->setFixedWidth(150);
        sbrStatus->addWidget(m_panels[i], i < 3 ? 0 : 1);
    }
}

void TfrmMain::SetStatusText(int panel, const QString& text)
{
    if (panel >= 0 && panel < 4)
        m_panels[panel]->setText(text);
}

QAbstractButton* TfrmMain::PlayButton()
{
    return spdPlayFile;
}

QString TfrmMain::StatusText(int panel) const
{
    return panel >= 0 && panel < 4 ? m_panels[panel]->text() : QString();
}

void TfrmMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!m_activated)
        FormActivate();
}

void TfrmMain::FormActivate()
{
    if (m_activated)
        return;
    m_activated = true;
    RequestWebData();
    tmrInitGnucDNA.start();
    if (trayAvailable())
        TrayIcon->show();
}

bool TfrmMain::FormCloseQuery()
{
    if (!EngineStarted)
        return false;
    if (!ExitRequested) {
        MinimizeToTray();
        return false;
    }
    if (Engine.ready() && Engine.Core->call(8).toBool()) {
        ExitAfterDisconnect = true;
        StopAllDownloads();
        DisconnectNetwork();
        return false;
    }
    return true;
}

void TfrmMain::closeEvent(QCloseEvent* event)
{
    if (FormCloseQuery()) {
        event->accept();
        emit Closed();
    } else
        event->ignore();
}

bool TfrmMain::trayAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void TfrmMain::MinimizeToTray()
{
    // Without a notification area the window is only minimised, so it can still be reached.
    if (trayAvailable())
        hide();
    else
        showMinimized();
}

void TfrmMain::RestoreFromTray()
{
    showNormal();
    raise();
    activateWindow();
}

void TfrmMain::mnuFileMinimizeClick()
{
    MinimizeToTray();
}

void TfrmMain::mnuFileExitClick()
{
    ExitRequested = true;
    close();
}

void TfrmMain::mnuPopMainExitClick()
{
    mnuFileExitClick();
}

void TfrmMain::mnuPopMainShowClick()
{
    RestoreFromTray();
}

void TfrmMain::mnuViewClick(int tag)
{
    TSpeedButton* buttons[] = {spdViewMedia, spdViewSearch, spdViewTransfers};
    if (tag >= 0 && tag < 3)
        spdViewButtonClick(buttons[tag]);
}

void TfrmMain::spdViewButtonClick(TSpeedButton* button)
{
    button->setChecked(true);
    SwitchView(button->Tag);
}

void TfrmMain::SwitchView(int view)
{
    QAction* items[] = {mnuViewMedia, mnuViewSearch, mnuViewDownloads};
    for (QAction* item : items)
        item->setChecked(false);
    if (view >= kViewMusic && view <= kViewDownloads) {
        items[view - 1]->setChecked(true);
        m_views->setCurrentWidget(viewOf(view));
    }
    ShowToolButtons(view);
}

void TfrmMain::ShowToolButtons(int view)
{
    for (TSpeedButton* button : std::as_const(m_toolButtons)) {
        if (button->Tag / 100 == view)
            button->setVisible(true);
        else if (button->Tag >= 100)
            button->setVisible(false);
    }
}

ViewFrame* TfrmMain::viewOf(int view) const
{
    switch (view) {
    case kViewMusic:
        return fraMedia1;
    case kViewSearch:
        return fraSearch1;
    case kViewDownloads:
        return fraDownloads1;
    default:
        return nullptr;
    }
}

void TfrmMain::spdToolButtonClick(TSpeedButton* button)
{
    if (ViewFrame* view = viewOf(button->Tag / 100))
        view->ToolCommand(button->Tag % 100);
}

void TfrmMain::mnuExtraLegalNoticeClick()
{
    ShowLegalNoticeDialog();
}

void TfrmMain::ShowLegalNoticeDialog()
{
    TfrmLegalNotice dialog(this, m_options);
    m_options.ShowLegalNotice = true;
    Dialogs::instance().runModal(dialog);
    m_options.Save(m_productKey);
}

void TfrmMain::mnuHelpHomeClick()
{
    ShellOpen(ProductSite + QStringLiteral("/index.htm"));
}

void TfrmMain::mnuHelpHelpClick()
{
    ShellOpen(ProductSite + QStringLiteral("/tavrin/help.htm"));
}

void TfrmMain::mnuHelpAboutClick()
{
    ShowAbout();
}

void TfrmMain::ShowAbout()
{
    Dialogs::instance().information(this, QStringLiteral("About Tavrin"),
                                    QStringLiteral("Version 3.31"));
}

void TfrmMain::ShowControlPanel()
{
    TfrmOptions dialog(this, m_appPath);
    dialog.LoadOptions(m_options);
    if (Dialogs::instance().runModal(dialog) == QDialog::Accepted) {
        m_options.Save(m_productKey);
        if (Engine.ready())
            PushPreferences();
        fraMedia1->SetMusicFolder(m_options.DownloadsPath);
    }
    fraSearch1->ReloadHistory();
}

void TfrmMain::RequestWebData()
{
    if (!m_options.UpdateCaches)
        return;
    for (const char* name : {"defaultcache", "defaultultracache", "defaultwebcache"}) {
        const QString list = QString::fromLatin1(name).mid(7); // "cache", "ultracache", "webcache"
        LiveUpdate->Request(QString::fromLatin1(name),
                            BootstrapSite + QStringLiteral("/caches/") + list + QStringLiteral(".txt"));
    }
}

void TfrmMain::WebDataArrived(const QString& name, const QByteArray& body)
{
    if (!name.contains(QStringLiteral("cache")) || body.isEmpty())
        return;
    if (TFileUtils::SaveFileText(m_appPath + QStringLiteral("/Data/") + name + QStringLiteral(".net"), body) &&
        name == QStringLiteral("defaultwebcache"))
        m_options.Save(m_productKey);
}
