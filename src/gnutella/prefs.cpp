#include "gnutella/prefs.h"

#include "gnutella/enginestate.h"

Prefs::Prefs(std::shared_ptr<EngineState> state) : m_state(std::move(state))
{
    auto& p = m_state->prefs;
    property(29, [&p](const Variant& v) { p.pref29 = v.toInt(); });
    property(30, [&p](const Variant& v) { p.pref30 = v.toInt(); });
    property(33, [&p](const Variant& v) { p.downloadsPath = v.toString(); });
    property(62, [&p](const Variant& v) { p.partialsPath = v.toString(); });
    property(45, [&p](const Variant& v) { p.maxDownloads = v.toInt(); });
    property(49, [&p](const Variant& v) { p.maxKbpsDownloads = v.toSingle(); });
}
