#pragma once

#include "automation/dispatch.h"
#include "engine/engineloader.h"

#include <QString>
#include <memory>
#include <optional>

class TP2POptions;

// The client's references to the engine's objects and the lifecycle steps that only touch
// the engine: creating and version-checking it, handing over preferences and host caches,
// releasing it.
class TGnucDNA final {
public:
    std::shared_ptr<Dispatch> Core;
    std::shared_ptr<Dispatch> Prefs;
    std::shared_ptr<Dispatch> Network;
    std::shared_ptr<Dispatch> Cache;
    std::shared_ptr<Dispatch> Core7;
    std::shared_ptr<Dispatch> Search;
    std::shared_ptr<Dispatch> Download;
    std::shared_ptr<Dispatch> Core12;
    std::shared_ptr<Dispatch> Core21;
    std::shared_ptr<Dispatch> Core23;

    // The engine exists once Core does; its sub-objects once they were fetched.
    bool exists() const { return Core != nullptr; }
    bool ready() const { return Prefs != nullptr; }

    // Creates Core and, when its version is at least minimumVersion, fetches the sub-objects.
    // False when the engine is missing, refuses, or is too old; references already obtained
    // stay.
    bool CreateEngine(const EngineFactory& factory, int minimumVersion);
    void ReleaseEngine();

    void PushPreferences(const TP2POptions& options);
    // dataFolder holds the host-cache files and their default lists.
    void LoadHostCaches(const QString& dataFolder);
    void SaveHostCaches(const QString& dataFolder);

    // A version text without its dots, read as a decimal number; nothing when that is not a
    // number.
    static std::optional<int> VersionNumber(const QString& version);
};
