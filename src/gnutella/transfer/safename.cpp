#include "gnutella/transfer/safename.h"

#include <QFileInfo>

namespace gnutella {

QString SafeFileName(const QString& name)
{
    QString plain = name.section(QLatin1Char('/'), -1).section(QLatin1Char('\\'), -1);
    plain.removeIf([](QChar c) { return c.unicode() < 32 || c.unicode() == 127; });
    plain = plain.trimmed();
    while (plain.startsWith(QLatin1Char('.')))
        plain.remove(0, 1);
    if (plain.size() > 200) {
        const qsizetype dot = plain.lastIndexOf(QLatin1Char('.'));
        const QString extension = dot > 0 && plain.size() - dot <= 10 ? plain.mid(dot) : QString();
        plain = plain.left(200 - extension.size()) + extension;
    }
    return plain.isEmpty() ? QStringLiteral("download") : plain;
}

QString UniquePath(const QString& folder, const QString& name)
{
    QString path = folder + QLatin1Char('/') + name;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > 0 ? name.left(dot) : name;
    const QString extension = dot > 0 ? name.mid(dot) : QString();
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder + QLatin1Char('/') + stem + QStringLiteral(" (%1)").arg(n) + extension;
    return path;
}

} // namespace gnutella
