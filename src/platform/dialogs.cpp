#include "platform/dialogs.h"

#include "platform/widgetdialogs.h"

namespace {
Dialogs* g_installed = nullptr;
}

Dialogs& Dialogs::instance()
{
    static WidgetDialogs real;
    return g_installed ? *g_installed : real;
}

void Dialogs::install(Dialogs* dialogs)
{
    g_installed = dialogs;
}
