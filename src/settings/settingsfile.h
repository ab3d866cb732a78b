#pragma once

#include <QSettings>
#include <QString>
#include <memory>

// Opens the per-user settings file that stands for a product key such as "Software\Tavrin":
// an INI file named after the key's last part. The file is created, empty, when missing, so an
// opened store always exists on disk. Returns null when the store can be neither opened nor
// created.
std::unique_ptr<QSettings> OpenSettingsFile(const QString& productKey);
