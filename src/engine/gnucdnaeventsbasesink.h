#pragma once

#include "automation/dispatch.h"

#include <QObject>
#include <QUuid>
#include <memory>
#include <vector>

class ConnectionPoint;

// Hears one outgoing event interface of an engine object: attaches to the object's connection
// point, receives the engine's calls, decodes their arguments and raises typed events.
class TGnucDNAEventsBaseSink : public QObject, public Dispatch {
    Q_OBJECT
public:
    // name is the sink's component name, used in messages (for example "dnaSearchEvent").
    TGnucDNAEventsBaseSink(const QString& name, QUuid sinkIID, const char* className,
                           QObject* owner);
    ~TGnucDNAEventsBaseSink() override;

    // Attaches to source for SinkIID, first detaching from any earlier source. Throws
    // AutomationError "Unable to connect <name>.\r<reason>" when the source refuses.
    void ConnectSink(const std::shared_ptr<Dispatch>& source);
    void DisconnectSink();
    bool connected() const { return m_source != nullptr; }

    HResult invoke(int32_t dispId, int flags, const DispParams& params, Variant* result) override;

    const QUuid SinkIID;

protected:
    // Decodes the call for its event; argument i of the event is params.args[map[i]].
    virtual HResult DoInvoke(int32_t dispId, const DispParams& params,
                             const std::vector<int>& map) = 0;

    // Argument i of the event, or empty when the call did not carry it.
    static Variant argument(const DispParams& params, const std::vector<int>& map, int i);
    // Runs a bound handler; a failure it raises becomes the call's failure.
    template <typename Handler> HResult raise(Handler&& handler)
    {
        try {
            handler();
            return HResult::ok();
        } catch (const std::exception& error) {
            return HResult::failure(QString::fromUtf8(error.what()));
        } catch (...) {
            return HResult::failure(QStringLiteral("The event handler failed."));
        }
    }

private:
    const char* m_className;
    uint32_t m_cookie = 0;
    ConnectionPoint* m_point = nullptr;
    std::shared_ptr<Dispatch> m_source;
};
