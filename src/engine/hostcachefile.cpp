#include "engine/hostcachefile.h"

#include "common/fileutils.h"
#include "common/stringutils.h"

#include <QCollator>
#include <QRegularExpression>
#include <QStringList>

namespace {

// The file's text without leading and trailing white space and control characters.
QString trimmedContent(const QString& path)
{
    return TStringUtils::TrimControls(QString::fromUtf8(TFileUtils::LoadFileText(path)));
}

} // namespace

void MergeHostCacheFile(const QString& file, const QString& defaultFile)
{
    QString text = trimmedContent(file);
    if (!text.isEmpty())
        text += QStringLiteral("\r\n");
    text += trimmedContent(defaultFile);

    QStringList lines;
    if (!text.isEmpty()) {
        static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
        lines = text.split(lineBreak);
        // A break at the very end closes the last line; it starts no empty one.
        if (lines.last().isEmpty())
            lines.removeLast();
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    QStringList sorted;
    for (const QString& line : std::as_const(lines)) {
        const auto place = std::lower_bound(sorted.begin(), sorted.end(), line,
                                            [&](const QString& a, const QString& b) {
                                                return collator.compare(a, b) < 0;
                                            });
        if (place != sorted.end() && collator.compare(*place, line) == 0)
            continue;
        sorted.insert(place, line);
    }
    QByteArray out;
    for (const QString& line : std::as_const(sorted))
        out += line.toUtf8() + "\r\n";
    TFileUtils::SaveFileText(file, out);
}
