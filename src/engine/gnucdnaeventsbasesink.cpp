#include "engine/gnucdnaeventsbasesink.h"

#include "automation/connectionpoint.h"

TGnucDNAEventsBaseSink::TGnucDNAEventsBaseSink(const QString& name, QUuid sinkIID,
                                               const char* className, QObject* owner)
    : QObject(owner), SinkIID(sinkIID), m_className(className)
{
    setObjectName(name);
}

TGnucDNAEventsBaseSink::~TGnucDNAEventsBaseSink()
{
    DisconnectSink();
}

void TGnucDNAEventsBaseSink::ConnectSink(const std::shared_ptr<Dispatch>& source)
{
    Q_ASSERT(source);
    DisconnectSink();
    const auto fail = [this](const HResult& reason) {
        throw AutomationError(HResult::failure(
            QStringLiteral("Unable to connect %1.\r%2").arg(objectName(), reason.text())));
    };
    ConnectionPointContainer* container = source ? source->connectionPoints() : nullptr;
    if (!container)
        fail(HResult::noInterface());
    ConnectionPoint* point = nullptr;
    if (const HResult found = container->find(SinkIID, &point); found.failed())
        fail(found);
    uint32_t cookie = 0;
    if (const HResult advised = point->advise(this, &cookie); advised.failed())
        fail(advised);
    m_cookie = cookie;
    m_point = point;
    m_source = source;
}

void TGnucDNAEventsBaseSink::DisconnectSink()
{
    if (!m_source)
        return;
    // The references go even when the point refuses to forget the advise.
    m_point->unadvise(m_cookie);
    m_point = nullptr;
    m_source.reset();
}

HResult TGnucDNAEventsBaseSink::invoke(int32_t dispId, int flags, const DispParams& params,
                                       Variant*)
{
    if (!(flags & DispatchMethod))
        return HResult::failure(
            QStringLiteral("%1 only supports sinking of method calls!").arg(QLatin1String(m_className)));
    // Positional arguments arrive last first; a named argument sits where its DispID says.
    const int count = int(params.args.size());
    int size = count;
    for (int32_t named : params.namedDispIds)
        size = std::max(size, named + 1);
    std::vector<int> map(size_t(size), -1);
    for (int i = 0; i < count; ++i)
        map[size_t(i)] = count - 1 - i;
    for (size_t j = 0; j < params.namedDispIds.size() && j < params.args.size(); ++j)
        if (params.namedDispIds[j] >= 0)
            map[size_t(params.namedDispIds[j])] = int(j);
    return DoInvoke(dispId, params, map);
}

Variant TGnucDNAEventsBaseSink::argument(const DispParams& params, const std::vector<int>& map,
                                         int i)
{
    if (i < 0 || size_t(i) >= map.size())
        return {};
    const int position = map[size_t(i)];
    if (position < 0 || size_t(position) >= params.args.size())
        return {};
    return params.args[size_t(position)];
}
