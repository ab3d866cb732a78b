#include "gnutella/enginestate.h"

#include <QTimer>

const char* const EngineState::NetworkEvents = "{7468213E-010E-4EC6-A17D-642E909BA7EC}";
const char* const EngineState::SearchEvents = "{E2032EC2-A9AC-4ED7-9BDB-EBECACF076F2}";
const char* const EngineState::DownloadEvents = "{0BE385A3-85A5-4722-B677-68DAE891FF21}";

void EngineState::post(std::function<void()> event)
{
    QTimer::singleShot(0, this, std::move(event));
}
