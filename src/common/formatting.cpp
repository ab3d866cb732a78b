#include "common/formatting.h"

#include <QLocale>

namespace {

QString twoDecimals(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', 2);
}

QString twoDigits(int64_t value)
{
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

} // namespace

QString FormatSize(int32_t size)
{
    if (size < 1024)
        return QString::number(size) + QStringLiteral(" bytes");
    if (size < 1024000)
        return twoDecimals(size / 1024.0) + QStringLiteral(" KB");
    return twoDecimals(size / 1024000.0) + QStringLiteral(" MB");
}

QString FormatDuration(int32_t seconds)
{
    // Widened so that the most negative number cannot overflow when its sign is taken.
    const int64_t s = seconds;
    const int64_t hours = s / 3600;
    const int64_t minutes = (s / 60) % 60;
    const int64_t secs = s % 60;
    if (s < 0)
        return QStringLiteral("-%1:%2:%3")
            .arg(twoDigits(-hours), twoDigits(-minutes), twoDigits(-secs));
    return QStringLiteral("%1:%2:%3").arg(twoDigits(hours), twoDigits(minutes), twoDigits(secs));
}

QString FileNameOf(const QString& path)
{
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')),
                                   path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

QString FileTitle(const QString& path)
{
    const QString name = FileNameOf(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}
