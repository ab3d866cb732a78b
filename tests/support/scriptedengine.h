#pragma once

#include "automation/connectionpoint.h"
#include "automation/dispatch.h"
#include "engine/engineloader.h"

#include <QMap>
#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>

class ScriptedEngine;

// One object of the scripted engine: records each call and answers from the engine's script.
class ScriptedObject final : public Dispatch {
public:
    ScriptedObject(QString name, ScriptedEngine& engine, const char* eventsIid = nullptr);

    HResult invoke(int32_t dispId, int flags, const DispParams& params, Variant* result) override;
    ConnectionPointContainer* connectionPoints() override { return m_points.get(); }

    // Raises an event on this object's connection point, arguments in natural order.
    HResult raise(int32_t dispId, std::initializer_list<Variant> args);
    HResult raise(int32_t dispId, const DispParams& params);
    int adviseCount() const;

    const QString name;

private:
    ScriptedEngine& m_engine;
    std::unique_ptr<ConnectionPointContainer> m_points;
    ConnectionPoint* m_point = nullptr;
};

// A stand-in for the network engine that keeps the same contract: it records every call as
// text ("Core#18", "Prefs#29=4", "Download#18(3)", "Search#1(\"query\")"), answers from a script,
// and raises events when a test asks.
class ScriptedEngine final {
public:
    ScriptedEngine();

    EngineFactory factory();
    std::shared_ptr<ScriptedObject> Core, Prefs, Network, Cache, Search, Download, Held;

    QStringList calls;
    // Answers by call text with arguments ("Download#4(3)") or without ("Download#1").
    QMap<QString, Variant> replies;
    // Calls (text with or without arguments) that fail.
    QSet<QString> failing;
    // A custom answer; returns true when it answered.
    std::function<bool(const QString& call, Variant& result)> answer;

    QString version = QStringLiteral("1.0.2.6");
    bool connected = false; // Core#8; Core#3 sets it, Core#4 leaves it to the test
    int32_t nodes = 0;      // Network#15
    bool missing = false;   // the factory gives nothing

    // The calls made so far that start with prefix, in order.
    QStringList callsStartingWith(const QString& prefix) const;

    HResult handle(ScriptedObject& object, int32_t dispId, int flags, const DispParams& params,
                   Variant* result);
};
