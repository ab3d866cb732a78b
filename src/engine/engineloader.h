#pragma once

#include "automation/dispatch.h"

#include <QString>
#include <functional>
#include <memory>

// Makes the engine's root object; null when the engine cannot be had.
using EngineFactory = std::function<std::shared_ptr<Dispatch>()>;

// The name of the engine library beside the executable, and of its one exported factory,
// which writes the root object into its argument.
inline constexpr const char* kEngineLibraryName = "libtavrin-gnutella.so";
inline constexpr const char* kEngineFactorySymbol = "tavrin_create_core";
using EngineFactoryFunction = void (*)(std::shared_ptr<Dispatch>*);

// A factory that loads the engine library at path when first called. The library stays loaded
// for the rest of the process, as its objects may outlive any one reference.
EngineFactory LibraryEngineFactory(const QString& path);
