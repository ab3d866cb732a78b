#pragma once

#include "library/audioplayer.h"

struct mpv_handle;

// The player on libmpv. audioOutput chooses the sound output ("null" plays silently, for
// tests); empty takes mpv's default. No video is shown.
class MpvPlayer final : public AudioPlayer {
    Q_OBJECT
public:
    explicit MpvPlayer(const QString& audioOutput = {}, QObject* parent = nullptr);
    ~MpvPlayer() override;

    bool available() const { return m_mpv != nullptr; }
    void open(const QString& path) override;
    void play() override;
    void pause() override;
    void stop() override;
    // Nothing playing counts as paused, so the transport offers to play.
    bool isPaused() const override { return m_paused || m_idle; }
    double position() const override { return m_position; }
    double length() const override { return m_length; }
    void seek(double seconds) override;
    void setVolume(int percent) override;

private:
    void drainEvents();
    void command(std::initializer_list<const char*> words);

    mpv_handle* m_mpv = nullptr;
    double m_position = 0;
    double m_length = 0;
    bool m_paused = false;
    bool m_idle = true;
};
