#pragma once

#include "gnutella/networkthread.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QHash>
#include <QSet>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

// What the engine knows, shared by its automation objects: identity, preferences, connection,
// host caches, searches with their results, and downloads.
class EngineState final : public QObject {
    Q_OBJECT
public:
    // Interface identifiers of the three event interfaces.
    static const char* const NetworkEvents;
    static const char* const SearchEvents;
    static const char* const DownloadEvents;

    struct Identity {
        QString clientName;
        QString clientVersion;
        QString vendorCode;
    } identity;

    struct Preferences {
        int32_t pref29 = 0; // the two fixed preferences; see Prefs
        int32_t pref30 = 0;
        QString downloadsPath;
        QString partialsPath;
        int32_t maxDownloads = 0;
        float maxKbpsDownloads = 0;
    } prefs;

    bool connected = false; // from connect until a disconnect has completed
    bool disconnecting = false;
    // The search each query GUID belongs to.
    QHash<QByteArray, int32_t> searchByGuid;

    // The Gnutella side, on its own thread.
    std::unique_ptr<NetworkThread> network;

    struct ResultRecord {
        QString fileName;
        int32_t size = 0;
        int32_t hosts = 1;
        QByteArray sha1Urn;
        QSet<QString> sources; // "ip:port" (or the servent GUID) of each host offering the file
        std::vector<gnutella::TransferSource> offers; // how to fetch it from each
    };
    struct SearchRecord {
        QString query;
        bool gathering = true;
        QByteArray guid;            // of the query sent last
        int sinceMore = 0;          // new results since the search was last continued
        std::map<int32_t, ResultRecord> results;
        QHash<QString, int32_t> byKey; // urn, or lower-case name and size -> ResultID
    };
    std::map<int32_t, SearchRecord> searches;

    enum DownloadState : int32_t { Pending = 0, Receiving = 1, Paused = 2, Complete = 9 };
    struct DownloadRecord {
        QString fileName;
        int32_t size = 0;
        int32_t received = 0;
        int32_t state = Pending;
        int32_t hostsKnown = 1;
        int32_t hostsActive = 0;
        int32_t rate = 0;
        int32_t secondsLeft = 0;
        QString partialPath;
        QString finalName; // in the downloads folder, once complete
        QByteArray urn;
    };
    std::map<int32_t, DownloadRecord> downloads;

    int32_t newId() { return m_nextId++; }
    // Identifiers kept from an earlier run are not given out again.
    void reserveId(int32_t used) { m_nextId = std::max(m_nextId, used + 1); }
    // Runs an event on the engine's thread after the current call has returned.
    void post(std::function<void()> event);

private:
    int32_t m_nextId = 1;
};
