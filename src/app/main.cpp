#include "app/applicationcontext.h"
#include "app/connectionlimit.h"
#include "app/frmmain.h"
#include "app/frmsplash.h"
#include "app/tavrinapplication.h"
#include "engine/engineloader.h"
#include "library/mpvplayer.h"
#include "platform/dialogs.h"

#include <QStandardPaths>
#include <memory>

int main(int argc, char** argv)
{
    TavrinApplication application(argc, argv);
    // The window hides to the tray instead of closing; the program ends when it really closes.
    application.setQuitOnLastWindowClosed(false);

    QString lockFolder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (lockFolder.isEmpty())
        lockFolder = QStandardPaths::writableLocation(QStandardPaths::TempLocation);
    ApplicationContext context(Dialogs::instance(), SetHalfOpenConnectionLimit, lockFolder);

    // The main window outlives the shutdown steps: its destruction comes last.
    std::unique_ptr<TfrmMain> mainWindow;
    if (context.StartApplication(QCoreApplication::applicationDirPath())) {
        QCoreApplication::setApplicationName(QStringLiteral("Tavrin"));
        {
            TfrmSplash splash;
            splash.Start();
            splash.exec();
        }
        mainWindow = std::make_unique<TfrmMain>(
            context.AppPath, *context.Options, ApplicationContext::ProductKey,
            LibraryEngineFactory(context.AppPath + QLatin1Char('/') +
                                 QLatin1String(kEngineLibraryName)),
            std::make_unique<MpvPlayer>());
        QApplication::setWindowIcon(mainWindow->windowIcon());
        QObject::connect(mainWindow.get(), &TfrmMain::Closed, &application, &QApplication::quit,
                         Qt::QueuedConnection);
        mainWindow->show();
        application.exec();
    }
    context.EndApplication();
    mainWindow.reset();
    return 0;
}
