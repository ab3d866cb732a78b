#include "settings/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

std::unique_ptr<QSettings> OpenSettingsFile(const QString& productKey)
{
    QString name = productKey.section(QLatin1Char('\\'), -1, -1, QString::SectionSkipEmpty);
    if (name.isEmpty())
        name = productKey;
    auto settings = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, name,
                                                name);
    const QFileInfo info(settings->fileName());
    if (!info.exists()) {
        QDir().mkpath(info.absolutePath());
        QFile file(info.absoluteFilePath());
        if (!file.open(QIODevice::WriteOnly))
            return nullptr;
    }
    if (!info.isReadable() || !settings->isWritable() || settings->status() != QSettings::NoError)
        return nullptr;
    return settings;
}
