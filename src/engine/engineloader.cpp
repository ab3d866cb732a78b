#include "engine/engineloader.h"

#include <QLibrary>

EngineFactory LibraryEngineFactory(const QString& path)
{
    return [path]() -> std::shared_ptr<Dispatch> {
        QLibrary library(path);
        if (!library.load())
            return nullptr;
        const auto create =
            reinterpret_cast<EngineFactoryFunction>(library.resolve(kEngineFactorySymbol));
        if (!create)
            return nullptr;
        std::shared_ptr<Dispatch> core;
        create(&core);
        return core;
    };
}
