#include "app/applicationcontext.h"

#include "platform/dialogs.h"

#include <QDir>

const QString ApplicationContext::ProductKey = QStringLiteral("Software\\Tavrin");

ApplicationContext::ApplicationContext(Dialogs& dialogs, ConnectionLimitSetter setConnectionLimit,
                                       QString lockFolder)
    : m_dialogs(dialogs), m_setConnectionLimit(std::move(setConnectionLimit)),
      m_lockFolder(std::move(lockFolder))
{
}

bool ApplicationContext::StartApplication(const QString& appPath)
{
    AppPath = appPath;
    // Data is laid out by the installer; only the picture and lyric folders are re-created.
    for (const char* folder : {"/Covers", "/Lyrics"}) {
        const QString path = AppPath + QLatin1String(folder);
        if (!QDir(path).exists())
            QDir().mkdir(path);
    }
    Options = std::make_unique<TOptions>(AppPath);
    Options->Load(ProductKey);

    bool mayRun = true;
    m_lock = std::make_unique<QLockFile>(m_lockFolder + QStringLiteral("/Tavrin.lock"));
    // A lock left by a crashed process is taken over; any failure other than a live holder
    // lets the program start.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0) && m_lock->error() == QLockFile::LockFailedError) {
        m_lock.reset();
        m_dialogs.information(nullptr, QStringLiteral("Information"),
                              QStringLiteral("Tavrin is already running"));
        mayRun = false;
    }
    m_setConnectionLimit(150);
    return mayRun;
}

void ApplicationContext::EndApplication()
{
    m_setConnectionLimit(10);
    Options.reset();
}
