#include "settings/options.h"

#include "settings/settingsfile.h"

#include <QVariant>
#include <optional>
#include <limits>

namespace {

const QString kGroup = QStringLiteral("Options");

// A stored number, or nothing when the value is missing or not a 32-bit number.
std::optional<int32_t> storedNumber(const QSettings& settings, const QString& name)
{
    const QVariant value = settings.value(name);
    if (!value.isValid())
        return std::nullopt;
    bool ok = false;
    const qlonglong number = value.toString().trimmed().toLongLong(&ok);
    if (!ok || number < std::numeric_limits<int32_t>::min() ||
        number > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(number);
}

void loadFlag(const QSettings& settings, const QString& name, bool& field, bool fallback)
{
    // Any non-zero number counts as true.
    const auto number = storedNumber(settings, name);
    field = number ? *number != 0 : fallback;
}

void loadNumber(const QSettings& settings, const QString& name, int32_t& field, int32_t fallback)
{
    field = storedNumber(settings, name).value_or(fallback);
}

void loadText(const QSettings& settings, const QString& name, QString& field,
              const QString& fallback)
{
    const QVariant value = settings.value(name);
    field = value.isValid() ? value.toString() : fallback;
}

} // namespace

TOptions::TOptions(QString appPath) : m_appPath(std::move(appPath)) {}

void TOptions::Load(const QString& productKey)
{
    const auto settings = OpenSettingsFile(productKey);
    if (!settings)
        return;
    settings->beginGroup(kGroup);
    loadFlag(*settings, QStringLiteral("UpdateCaches"), UpdateCaches, true);
    loadFlag(*settings, QStringLiteral("ShowLegalNotice"), ShowLegalNotice, true);
    loadFlag(*settings, QStringLiteral("UseSearchHistory"), UseSearchHistory, true);
    loadFlag(*settings, QStringLiteral("ClearCompleted"), ClearCompleted, false);
    loadFlag(*settings, QStringLiteral("AutoConnect"), AutoConnect, true);
    loadText(*settings, QStringLiteral("DownloadsPath"), DownloadsPath,
             m_appPath + QStringLiteral("/My Music"));
    loadText(*settings, QStringLiteral("PartialsPath"), PartialsPath,
             m_appPath + QStringLiteral("/Partials"));
    loadNumber(*settings, QStringLiteral("MaxDownloads"), MaxDownloads, 30);
    loadNumber(*settings, QStringLiteral("MaxKbpsDownloads"), MaxKbpsDownloads, 1024);
}

void TOptions::Save(const QString& productKey) const
{
    const auto settings = OpenSettingsFile(productKey);
    if (!settings)
        return;
    settings->beginGroup(kGroup);
    settings->setValue(QStringLiteral("UpdateCaches"), UpdateCaches ? 1 : 0);
    settings->setValue(QStringLiteral("ShowLegalNotice"), ShowLegalNotice ? 1 : 0);
    settings->setValue(QStringLiteral("UseSearchHistory"), UseSearchHistory ? 1 : 0);
    settings->setValue(QStringLiteral("ClearCompleted"), ClearCompleted ? 1 : 0);
    settings->setValue(QStringLiteral("AutoConnect"), AutoConnect ? 1 : 0);
    settings->setValue(QStringLiteral("DownloadsPath"), DownloadsPath);
    settings->setValue(QStringLiteral("PartialsPath"), PartialsPath);
    settings->setValue(QStringLiteral("MaxDownloads"), MaxDownloads);
    settings->setValue(QStringLiteral("MaxKbpsDownloads"), MaxKbpsDownloads);
    settings->endGroup();
    settings->sync();
}
