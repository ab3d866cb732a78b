#include "gnutella/cache.h"

#include "gnutella/enginestate.h"

#include <QFile>
#include <QSaveFile>
#include <QSet>

namespace {
// A cache file holds at most this many lines; the rest of a longer file is not read.
constexpr int kMaxLines = 10000;
constexpr qint64 kMaxLineLength = 1024;
} // namespace

Cache::Cache(std::shared_ptr<EngineState> state) : m_state(std::move(state))
{
    for (int list = 0; list < 3; ++list) {
        method(1 + list, 1, [this, list](const Args& a) {
            load(list, a[0].toString());
            return Variant();
        });
        method(5 + list, 1, [this, list](const Args& a) {
            save(list, a[0].toString());
            return Variant();
        });
    }
}

void Cache::load(int list, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QStringList& hosts = m_state->caches[list];
    QSet<QString> known(hosts.begin(), hosts.end());
    while (!file.atEnd() && hosts.size() < kMaxLines) {
        const QString line = QString::fromUtf8(file.readLine(kMaxLineLength)).trimmed();
        if (line.isEmpty() || known.contains(line))
            continue;
        known.insert(line);
        hosts << line;
    }
}

void Cache::save(int list, const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw EngineFailure{QStringLiteral("Cannot write %1").arg(path)};
    for (const QString& host : m_state->caches[list])
        file.write(host.toUtf8() + "\r\n");
    if (!file.commit())
        throw EngineFailure{QStringLiteral("Cannot write %1").arg(path)};
}
