#include "common/stringutils.h"

QString TStringUtils::TrimControls(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text.at(begin).unicode() <= 32)
        ++begin;
    while (end > begin && text.at(end - 1).unicode() <= 32)
        --end;
    return text.mid(begin, end - begin);
}

QString TStringUtils::GetToken(const QString& text, const QString& separator, int index)
{
    if (text.isEmpty() || separator.isEmpty() || index < 1)
        return {};
    qsizetype position = 0;
    for (int field = 1;; ++field) {
        const qsizetype found = text.indexOf(separator, position);
        if (field == index)
            return found < 0 ? text.mid(position) : text.mid(position, found - position);
        if (found < 0)
            return {};
        position = found + separator.size();
    }
}
