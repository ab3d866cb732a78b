#include "gnutella/transfer/httphead.h"

#include <QList>
#include <algorithm>

namespace gnutella {

std::optional<ByteRange> ParseRange(const QByteArray& value, int64_t size)
{
    const QByteArray text = value.trimmed().toLower();
    if (!text.startsWith("bytes=") || size <= 0)
        return std::nullopt;
    // Only the first range of a list is served.
    const QByteArray spec = text.mid(6).split(',').value(0).trimmed();
    const qsizetype dash = spec.indexOf('-');
    if (dash < 0)
        return std::nullopt;
    bool okFirst = false;
    bool okLast = false;
    const QByteArray a = spec.left(dash).trimmed();
    const QByteArray b = spec.mid(dash + 1).trimmed();
    ByteRange range;
    if (a.isEmpty()) {
        const int64_t suffix = b.toLongLong(&okLast);
        if (!okLast || suffix <= 0)
            return std::nullopt;
        range = {std::max<int64_t>(0, size - suffix), size - 1};
    } else {
        range.first = a.toLongLong(&okFirst);
        range.last = b.isEmpty() ? size - 1 : b.toLongLong(&okLast);
        if (!okFirst || (!b.isEmpty() && !okLast) || range.first < 0)
            return std::nullopt;
        range.last = std::min(range.last, size - 1);
    }
    if (range.first > range.last || range.first >= size)
        return std::nullopt;
    return range;
}

std::optional<ContentRange> ParseContentRange(const QByteArray& value)
{
    // "bytes a-b/total"
    const QByteArray text = value.trimmed().toLower();
    if (!text.startsWith("bytes"))
        return std::nullopt;
    const QByteArray spec = text.mid(5).trimmed();
    const qsizetype dash = spec.indexOf('-');
    const qsizetype slash = spec.indexOf('/');
    if (dash <= 0 || slash <= dash)
        return std::nullopt;
    bool ok1 = false, ok2 = false, ok3 = false;
    ContentRange result;
    result.range.first = spec.left(dash).toLongLong(&ok1);
    result.range.last = spec.mid(dash + 1, slash - dash - 1).toLongLong(&ok2);
    result.total = spec.mid(slash + 1).toLongLong(&ok3);
    if (!ok1 || !ok2 || !ok3 || result.range.first < 0 || result.range.first > result.range.last ||
        result.range.last >= result.total)
        return std::nullopt;
    return result;
}

QueuePlace ParseQueue(const QByteArray& value)
{
    QueuePlace place;
    for (const QByteArray& item : value.split(',')) {
        const qsizetype equals = item.indexOf('=');
        if (equals < 0)
            continue;
        const QByteArray key = item.left(equals).trimmed().toLower();
        bool ok = false;
        const int number = item.mid(equals + 1).trimmed().toInt(&ok);
        if (!ok || number < 0)
            continue;
        if (key == "position")
            place.position = number;
        else if (key == "length")
            place.length = number;
        else if (key == "pollmin")
            place.pollMinSeconds = number;
        else if (key == "pollmax")
            place.pollMaxSeconds = number;
    }
    place.pollMaxSeconds = std::max(place.pollMaxSeconds, place.pollMinSeconds);
    return place;
}

} // namespace gnutella
