#include "common/mediatypes.h"

#include "common/formatting.h"

#include <QHash>

namespace {

// Lower-case extension without the dot -> media type word.
const QHash<QString, QString>& mediaTypes()
{
    static const QHash<QString, QString> table{{QStringLiteral("mp3"), QStringLiteral("Audio")}};
    return table;
}

} // namespace

QString MediaTypeOf(const QString& path)
{
    const QString name = FileNameOf(path);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    return mediaTypes().value(name.mid(dot + 1).toLower());
}
