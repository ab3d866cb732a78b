#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

// Lets events run until done() holds or the time is up.
inline void waitUntil(const std::function<bool()>& done, int milliseconds = 8000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}
