#pragma once

#include "settings/options.h"

#include <QLockFile>
#include <QString>
#include <functional>
#include <memory>

class Dialogs;

// The process-wide objects and the steps before and after the window system runs: the program
// folder, the options, the folders below the program folder and the single-instance lock.
class ApplicationContext final {
public:
    using ConnectionLimitSetter = std::function<void(int)>;

    // lockFolder holds "Tavrin.lock"; the lock is held until the process ends.
    ApplicationContext(Dialogs& dialogs, ConnectionLimitSetter setConnectionLimit,
                       QString lockFolder);

    // Prepares the program; false when another instance is already running.
    bool StartApplication(const QString& appPath);
    // Runs on every way out, also after StartApplication said no.
    void EndApplication();

    QString AppPath;
    std::unique_ptr<TOptions> Options;

    static const QString ProductKey;

private:
    Dialogs& m_dialogs;
    ConnectionLimitSetter m_setConnectionLimit;
    QString m_lockFolder;
    std::unique_ptr<QLockFile> m_lock;
};
