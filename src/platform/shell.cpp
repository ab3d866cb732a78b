#include "platform/shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

void ShellOpen(const QString& target)
{
    const QUrl url = QUrl::fromUserInput(target, QString(), QUrl::AssumeLocalFile);
    if (url.isValid())
        QDesktopServices::openUrl(url);
}
