#pragma once

#include "app/frmmain.h"
#include "settings/options.h"
#include "support/recorderplayer.h"
#include "support/recordingdialogs.h"
#include "support/scriptedengine.h"
#include "support/testfolder.h"

#include <QDir>
#include <QSettings>
#include <gtest/gtest.h>

// The main window on a scripted engine, with its settings, program folder and dialogs of its
// own. startEngine() starts the engine without connecting; the views under test then reach it
// through the window, so every engine call they make is recorded.
struct MainWindowFixture : ::testing::Test {
    TestFolder settingsFolder;
    TestFolder appFolder;
    RecordingDialogs dialogs;
    ScriptedEngine engine;
    std::unique_ptr<TOptions> options;
    std::unique_ptr<TfrmMain> window;
    RecorderPlayer* player = nullptr;

    inline static const QString ProductKey = QStringLiteral("Software\\TavrinTest");

    void SetUp() override
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
        QDir(appFolder.path()).mkdir(QStringLiteral("Data"));
        options = std::make_unique<TOptions>(appFolder.path());
        options->Load(ProductKey);
        options->AutoConnect = false;
        options->ShowLegalNotice = false;
        auto recorder = std::make_unique<RecorderPlayer>();
        player = recorder.get();
        window = std::make_unique<TfrmMain>(appFolder.path(), *options, ProductKey,
                                            engine.factory(), std::move(recorder));
    }

    void startEngine()
    {
        window->tmrInitGnucDNATimer();
        engine.calls.clear();
    }

    QString data(const QString& name) const { return appFolder.file(QStringLiteral("Data/") + name); }
};
