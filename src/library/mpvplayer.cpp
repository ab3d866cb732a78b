#include "library/mpvplayer.h"

#include <QFile>
#include <QMetaObject>
#include <clocale>
#include <mpv/client.h>
#include <vector>

namespace {
enum : uint64_t { kPosition = 1, kLength = 2, kPause = 3, kIdle = 4 };
}

MpvPlayer::MpvPlayer(const QString& audioOutput, QObject* parent) : AudioPlayer(parent)
{
    // libmpv requires the C locale for numbers.
    std::setlocale(LC_NUMERIC, "C");
    m_mpv = mpv_create();
    if (!m_mpv)
        return;
    mpv_set_option_string(m_mpv, "vo", "null");
    mpv_set_option_string(m_mpv, "video", "no");
    mpv_set_option_string(m_mpv, "idle", "yes");
    mpv_set_option_string(m_mpv, "terminal", "no");
    mpv_set_option_string(m_mpv, "config", "no");
    mpv_set_option_string(m_mpv, "volume", "50");
    // Without a sound device the player still runs through its files.
    mpv_set_option_string(m_mpv, "audio-fallback-to-null", "yes");
    if (!audioOutput.isEmpty())
        mpv_set_option_string(m_mpv, "ao", audioOutput.toUtf8().constData());
    if (mpv_initialize(m_mpv) < 0) {
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
        return;
    }
    mpv_observe_property(m_mpv, kPosition, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, kLength, "duration", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, kPause, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(m_mpv, kIdle, "idle-active", MPV_FORMAT_FLAG);
    // mpv calls this from its own thread; the events are read on ours.
    mpv_set_wakeup_callback(
        m_mpv,
        [](void* self) {
            QMetaObject::invokeMethod(static_cast<MpvPlayer*>(self), &MpvPlayer::drainEvents,
                                      Qt::QueuedConnection);
        },
        this);
}

MpvPlayer::~MpvPlayer()
{
    if (m_mpv) {
        mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
        mpv_terminate_destroy(m_mpv);
    }
}

void MpvPlayer::command(std::initializer_list<const char*> words)
{
    if (!m_mpv)
        return;
    std::vector<const char*> args(words);
    args.push_back(nullptr);
    mpv_command_async(m_mpv, 0, args.data());
}

void MpvPlayer::open(const QString& path)
{
    const QByteArray local = QFile::encodeName(path);
    // Opening starts playing at once.
    if (m_mpv) {
        int no = 0;
        mpv_set_property(m_mpv, "pause", MPV_FORMAT_FLAG, &no);
    }
    command({"loadfile", local.constData(), "replace"});
}

void MpvPlayer::play()
{
    if (!m_mpv)
        return;
    int no = 0;
    mpv_set_property_async(m_mpv, 0, "pause", MPV_FORMAT_FLAG, &no);
}

void MpvPlayer::pause()
{
    if (!m_mpv)
        return;
    int yes = 1;
    mpv_set_property_async(m_mpv, 0, "pause", MPV_FORMAT_FLAG, &yes);
}

void MpvPlayer::stop()
{
    command({"stop"});
}

void MpvPlayer::seek(double seconds)
{
    const QByteArray target = QByteArray::number(seconds, 'f', 2);
    command({"seek", target.constData(), "absolute"});
}

void MpvPlayer::setVolume(int percent)
{
    if (!m_mpv)
        return;
    double volume = percent;
    mpv_set_property_async(m_mpv, 0, "volume", MPV_FORMAT_DOUBLE, &volume);
}

void MpvPlayer::drainEvents()
{
    while (m_mpv) {
        mpv_event* event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        if (event->event_id == MPV_EVENT_END_FILE) {
            const auto* end = static_cast<mpv_event_end_file*>(event->data);
            if (end->reason == MPV_END_FILE_REASON_EOF)
                emit ended();
        } else if (event->event_id == MPV_EVENT_PROPERTY_CHANGE) {
            const auto* property = static_cast<mpv_event_property*>(event->data);
            const bool known = property->format != MPV_FORMAT_NONE && property->data;
            if (event->reply_userdata == kPosition)
                m_position = known ? *static_cast<double*>(property->data) : 0;
            else if (event->reply_userdata == kLength)
                m_length = known ? *static_cast<double*>(property->data) : 0;
            else if (event->reply_userdata == kPause)
                m_paused = known && *static_cast<int*>(property->data) != 0;
            else if (event->reply_userdata == kIdle)
                m_idle = known && *static_cast<int*>(property->data) != 0;
            emit progress();
        }
    }
}
