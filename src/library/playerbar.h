#pragma once

#include <QWidget>

class AudioPlayer;
class QLabel;
class QSlider;
class QToolButton;

// The transport strip of the embedded player: play/pause, stop, position, time and volume.
class TPlayerBar final : public QWidget {
    Q_OBJECT
public:
    TPlayerBar(AudioPlayer& player, QWidget* parent);

private:
    void refresh();

    AudioPlayer& m_player;
    QToolButton* m_playPause;
    QToolButton* m_stop;
    QSlider* m_position;
    QLabel* m_time;
    QSlider* m_volume;
    bool m_dragging = false;
};
