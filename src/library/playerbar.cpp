#include "library/playerbar.h"

#include "common/formatting.h"
#include "library/audioplayer.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

TPlayerBar::TPlayerBar(AudioPlayer& player, QWidget* parent) : QWidget(parent), m_player(player)
{
    m_playPause = new QToolButton(this);
    m_playPause->setToolTip(QStringLiteral("Play / Pause"));
    m_stop = new QToolButton(this);
    m_stop->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    m_stop->setToolTip(QStringLiteral("Stop"));
    m_position = new QSlider(Qt::Horizontal, this);
    m_position->setRange(0, 0);
    m_time = new QLabel(QStringLiteral("00:00:00 / 00:00:00"), this);
    auto* volumeIcon = new QLabel(this);
    volumeIcon->setPixmap(style()->standardIcon(QStyle::SP_MediaVolume).pixmap(16, 16));
    m_volume = new QSlider(Qt::Horizontal, this);
    m_volume->setRange(0, 100);
    m_volume->setValue(50);
    m_volume->setFixedWidth(90);
    m_volume->setToolTip(QStringLiteral("Volume"));

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(m_playPause);
    layout->addWidget(m_stop);
    layout->addWidget(m_position, 1);
    layout->addWidget(m_time);
    layout->addWidget(volumeIcon);
    layout->addWidget(m_volume);

    connect(m_playPause, &QToolButton::clicked, this, [this] {
        if (m_player.isPaused())
            m_player.play();
        else
            m_player.pause();
    });
    connect(m_stop, &QToolButton::clicked, this, [this] { m_player.stop(); });
    connect(m_volume, &QSlider::valueChanged, this, [this](int value) { m_player.setVolume(value); });
    connect(m_position, &QSlider::sliderPressed, this, [this] { m_dragging = true; });
    connect(m_position, &QSlider::sliderReleased, this, [this] {
        m_dragging = false;
        m_player.seek(m_position->value());
    });
    connect(&m_player, &AudioPlayer::progress, this, &TPlayerBar::refresh);
    refresh();
}

void TPlayerBar::refresh()
{
    m_playPause->setIcon(style()->standardIcon(m_player.isPaused() ? QStyle::SP_MediaPlay
                                                                   : QStyle::SP_MediaPause));
    const int length = int(m_player.length());
    const int position = int(m_player.position());
    if (!m_dragging) {
        m_position->setRange(0, length);
        m_position->setValue(position);
    }
    m_time->setText(FormatDuration(position) + QStringLiteral(" / ") + FormatDuration(length));
}
