#pragma once

#include <QObject>
#include <QString>

// The embedded player: opens a file (which starts playing it), plays, stops, and tells when the
// current file has played to its end. Position and volume serve the transport bar.
class AudioPlayer : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void open(const QString& path) = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual bool isPaused() const = 0;
    // Seconds into the current file and its length; 0 when unknown.
    virtual double position() const = 0;
    virtual double length() const = 0;
    virtual void seek(double seconds) = 0;
    virtual void setVolume(int percent) = 0;

signals:
    // The current file has played to its end (not stopped).
    void ended();
    // Position, length or pause state changed.
    void progress();
};
