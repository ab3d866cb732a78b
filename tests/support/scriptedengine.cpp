#include "support/scriptedengine.h"

namespace {
const char* const kNetworkEvents = "{7468213E-010E-4EC6-A17D-642E909BA7EC}";
const char* const kSearchEvents = "{E2032EC2-A9AC-4ED7-9BDB-EBECACF076F2}";
const char* const kDownloadEvents = "{0BE385A3-85A5-4722-B677-68DAE891FF21}";
} // namespace

ScriptedObject::ScriptedObject(QString objectName, ScriptedEngine& engine, const char* eventsIid)
    : name(std::move(objectName)), m_engine(engine)
{
    if (eventsIid) {
        m_points = std::make_unique<ConnectionPointContainer>();
        m_point = &m_points->add(QUuid(QLatin1String(eventsIid)));
    }
}

HResult ScriptedObject::invoke(int32_t dispId, int flags, const DispParams& params,
                               Variant* result)
{
    return m_engine.handle(*this, dispId, flags, params, result);
}

HResult ScriptedObject::raise(int32_t dispId, std::initializer_list<Variant> args)
{
    return raise(dispId, DispParams::positional(args));
}

HResult ScriptedObject::raise(int32_t dispId, const DispParams& params)
{
    return m_point ? m_point->fire(dispId, params) : HResult::noInterface();
}

int ScriptedObject::adviseCount() const
{
    return m_point ? m_point->adviseCount() : 0;
}

ScriptedEngine::ScriptedEngine()
    : Core(std::make_shared<ScriptedObject>(QStringLiteral("Core"), *this)),
      Prefs(std::make_shared<ScriptedObject>(QStringLiteral("Prefs"), *this)),
      Network(std::make_shared<ScriptedObject>(QStringLiteral("Network"), *this, kNetworkEvents)),
      Cache(std::make_shared<ScriptedObject>(QStringLiteral("Cache"), *this)),
      Search(std::make_shared<ScriptedObject>(QStringLiteral("Search"), *this, kSearchEvents)),
      Download(std::make_shared<ScriptedObject>(QStringLiteral("Download"), *this, kDownloadEvents)),
      Held(std::make_shared<ScriptedObject>(QStringLiteral("Held"), *this))
{
}

EngineFactory ScriptedEngine::factory()
{
    return [this]() -> std::shared_ptr<Dispatch> { return missing ? nullptr : Core; };
}

QStringList ScriptedEngine::callsStartingWith(const QString& prefix) const
{
    QStringList found;
    for (const QString& call : calls)
        if (call.startsWith(prefix))
            found << call;
    return found;
}

HResult ScriptedEngine::handle(ScriptedObject& object, int32_t dispId, int flags,
                               const DispParams& params, Variant* result)
{
    const QString member = QStringLiteral("%1#%2").arg(object.name).arg(dispId);
    QStringList args;
    for (auto arg = params.args.rbegin(); arg != params.args.rend(); ++arg)
        args << arg->describe();
    const bool put = flags & DispatchPropertyPut;
    const QString call = put ? member + QLatin1Char('=') + args.value(0)
                             : (args.isEmpty() ? member
                                               : member + QLatin1Char('(') +
                                                     args.join(QLatin1Char(',')) + QLatin1Char(')'));
    calls << call;
    if (failing.contains(call) || failing.contains(member))
        return HResult::failure(QStringLiteral("scripted failure of %1").arg(call));
    if (put)
        return HResult::ok();

    Variant value;
    if (answer && answer(call, value)) {
    } else if (replies.contains(call)) {
        value = replies.value(call);
    } else if (replies.contains(member)) {
        value = replies.value(member);
    } else if (object.name == QLatin1String("Core")) {
        switch (dispId) {
        case 18: value = version; break;
        case 8: value = connected; break;
        case 3: connected = true; break;
        case 9: value = std::shared_ptr<Dispatch>(Prefs); break;
        case 5: value = std::shared_ptr<Dispatch>(Network); break;
        case 6: value = std::shared_ptr<Dispatch>(Cache); break;
        case 10: value = std::shared_ptr<Dispatch>(Search); break;
        case 11: value = std::shared_ptr<Dispatch>(Download); break;
        case 7: case 12: case 21: case 23: value = std::shared_ptr<Dispatch>(Held); break;
        default: break;
        }
    } else if (member == QLatin1String("Network#15")) {
        value = nodes;
    } else if (member == QLatin1String("Download#1")) {
        value = QList<int32_t>();
    }
    if (result)
        *result = value;
    return HResult::ok();
}
