#pragma once

#include "library/audioplayer.h"

#include <QStringList>

// A player for tests where playback itself is not the point: it records what it was asked
// ("open <path>", "play", "stop") and ends a file when the test says so.
class RecorderPlayer final : public AudioPlayer {
    Q_OBJECT
public:
    QStringList log;

    void open(const QString& path) override { log << QStringLiteral("open ") + path; }
    void play() override { log << QStringLiteral("play"); }
    void pause() override { log << QStringLiteral("pause"); }
    void stop() override { log << QStringLiteral("stop"); }
    bool isPaused() const override { return false; }
    double position() const override { return 0; }
    double length() const override { return 0; }
    void seek(double) override {}
    void setVolume(int) override {}

    void finishFile() { emit ended(); }
};
