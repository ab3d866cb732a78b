#pragma once

#include <QString>

// Asks the desktop to open a file, a folder or a web page with its usual program. Failures are
// not reported.
void ShellOpen(const QString& target);
