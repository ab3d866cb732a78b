#pragma once

#include "gnutella/protocol/messageheader.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

namespace gnutella {

// The query routing hash of a word: its bytes folded into 32 bits, times the golden-ratio
// constant, top `bits` bits.
uint32_t QrpHash(const QByteArray& word, int bits);

// The keywords of a name as query routing sees them: lower-case runs of letters and digits of at
// least three characters, with their plural-stripped forms.
QStringList QrpKeywords(const QString& name);

// A query routing table: one slot per hash value, present or absent. A leaf builds one from its
// file names and sends it as RESET and PATCH messages; an ultrapeer rebuilds it from those
// messages and asks it whether a query may reach the leaf.
class QueryRouteTable final {
public:
    static constexpr uint32_t DefaultSize = 65536;
    static constexpr uint32_t MinSize = 64;
    static constexpr uint32_t MaxSize = 1u << 21;

    explicit QueryRouteTable(uint32_t size = DefaultSize);

    void addKeywords(const QString& name);
    void addUrn(const QByteArray& urn);
    // The RESET message and the PATCH messages that describe this table.
    QList<Message> messages() const;

    // Applies one RouteTable message from a peer; false when it is malformed (the connection is
    // then to be dropped).
    bool apply(const QByteArray& payload);
    // Whether every keyword of the query (or the URN) is present; a table that was reset and not
    // yet patched holds nothing.
    bool mayMatch(const QString& query, const QList<QByteArray>& urns) const;
    bool received() const { return m_received; }

private:
    int bits() const;
    uint32_t m_size;
    std::vector<bool> m_present;
    bool m_received = false;
    // Patch data collected until the last message of a sequence.
    QByteArray m_patch;
    int m_expectedSequence = 1;
    int m_entryBits = 4;
    bool m_compressed = false;
};

} // namespace gnutella
