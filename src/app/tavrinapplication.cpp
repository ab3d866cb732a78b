#include "app/tavrinapplication.h"

#include <QtDebug>
#include <exception>

TavrinApplication::TavrinApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TavrinApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        qWarning("Tavrin: an action ended with an error: %s", error.what());
    } catch (...) {
        qWarning("Tavrin: an action ended with an unknown error");
    }
    return false;
}
