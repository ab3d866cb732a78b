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

// The main window on a scripted engine that has started, not connected: the views under test
// reach the engine through the window, so every engine call they make is recorded.
struct MainWindowFixture : ::testing::Test {
    TestFolder settingsFolder;
    TestFolder appFolder;
    RecordingDialogs dialogs;
    ScriptedEngine engine;
    std::unique_ptr<TOptions> options;
    std::unique_ptr<TfrmMain> window;
    RecorderPlayer* player = nullptr;

    void SetUp() override
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
        QDir(appFolder.path()).mkdir(QStringLiteral("Data"));
        options = std::make_unique<TOptions>(appFolder.path());
        options->Load(QStringLiteral("Software\\TavrinTest"));
        options->AutoConnect = false;
        options->ShowLegalNotice = false;
        auto recorder = std::make_unique<RecorderPlayer>();
        player = recorder.get();
        window = std::make_unique<TfrmMain>(appFolder.path(), *options,
                                            QStringLiteral("Software\\TavrinTest"),
                                            engine.factory(), std::move(recorder));
        window->tmrInitGnucDNATimer();
        engine.calls.clear();
    }

    QString data(const QString& name) const { return appFolder.file(QStringLiteral("Data/") + name); }
};
