#include "engine/gnucdna.h"

#include "engine/hostcachefile.h"
#include "settings/p2poptions.h"

namespace {

// The three host-cache files, in the order of the cache operations.
const char* const kCacheFiles[3] = {"/cache.net", "/ultracache.net", "/webcache.net"};
const char* const kDefaultFiles[3] = {"/defaultcache.net", "/defaultultracache.net",
                                      "/defaultwebcache.net"};

std::shared_ptr<Dispatch> subObject(Dispatch& core, int32_t dispId)
{
    std::shared_ptr<Dispatch> object = core.call(dispId).toObject();
    if (!object)
        throw AutomationError(HResult::noInterface());
    return object;
}

} // namespace

std::optional<int> TGnucDNA::VersionNumber(const QString& version)
{
    QString digits = version;
    digits.remove(QLatin1Char('.'));
    for (QChar c : std::as_const(digits))
        if (!c.isDigit() || c.unicode() > '9')
            return std::nullopt;
    bool ok = false;
    const int number = digits.toInt(&ok, 10);
    if (!ok)
        return std::nullopt;
    return number;
}

bool TGnucDNA::CreateEngine(const EngineFactory& factory, int minimumVersion)
{
    try {
        Core = factory ? factory() : nullptr;
        if (!Core)
            return false;
        const auto version = VersionNumber(Core->call(18).toString());
        if (!version || *version < minimumVersion)
            return false;
        Prefs = subObject(*Core, 9);
        Network = subObject(*Core, 5);
        Cache = subObject(*Core, 6);
        Core7 = subObject(*Core, 7);
        Search = subObject(*Core, 10);
        Download = subObject(*Core, 11);
        Core12 = subObject(*Core, 12);
        Core21 = subObject(*Core, 21);
        Core23 = subObject(*Core, 23);
        return true;
    } catch (const AutomationError&) {
        return false;
    }
}

void TGnucDNA::ReleaseEngine()
{
    for (auto* reference : {&Prefs, &Network, &Cache, &Core7, &Search, &Download, &Core12,
                            &Core21, &Core23, &Core})
        reference->reset();
}

void TGnucDNA::PushPreferences(const TP2POptions& options)
{
    Prefs->put(33, options.DownloadsPath);
    Prefs->put(62, options.PartialsPath);
    Prefs->put(45, options.MaxDownloads);
    Prefs->put(49, float(options.MaxKbpsDownloads));
}

void TGnucDNA::LoadHostCaches(const QString& dataFolder)
{
    for (int i = 0; i < 3; ++i)
        MergeHostCacheFile(dataFolder + QLatin1String(kCacheFiles[i]),
                           dataFolder + QLatin1String(kDefaultFiles[i]));
    for (int i = 0; i < 3; ++i)
        Cache->call(1 + i, {dataFolder + QLatin1String(kCacheFiles[i])});
}

void TGnucDNA::SaveHostCaches(const QString& dataFolder)
{
    for (int i = 0; i < 3; ++i)
        Cache->call(5 + i, {dataFolder + QLatin1String(kCacheFiles[i])});
}
