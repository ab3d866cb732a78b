#pragma once

#include "gnutella/protocol/handshake.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <vector>

namespace gnutella {

// One host that offers a file of a download.
struct TransferSource {
    HostAddress address;
    uint32_t index = 0;
    QString name;
    int failures = 0;
    qint64 retryAfterMs = 0; // not asked before this time
    bool banned = false;
    bool busy = false; // a worker is fetching from it
    QByteArray serventGuid = {}; // 16 bytes when known: how a push finds the host
    bool push = false;      // the host cannot be reached directly; it is asked to connect to us
    qint64 pushedAtMs = 0;  // a push is out and its connection awaited (0: none)
    bool byName = false;    // it did not know the file by its urn: ask by index and name
};

// Whether two sources are one host.
bool SameHost(const TransferSource& a, const TransferSource& b);

// One download as the engine's network thread keeps it: its sources and which 256 KiB chunks
// of the partial file hold data.
struct Transfer {
    enum State { Pending = 0, Receiving = 1, Paused = 2, Failed = 3, Complete = 9 };
    static constexpr int64_t ChunkSize = 256 * 1024;

    int32_t id = 0;
    QString name;    // as the peer gave it; shown only
    int64_t size = 0;
    QByteArray urn;  // "urn:sha1:..." or empty
    std::vector<TransferSource> sources;
    std::vector<uint8_t> chunks; // 0 missing, 1 being fetched, 2 held
    int state = Pending;
    QString partialPath;
    QString finalName; // the file's name in the downloads folder, once complete
    // After a file failed its check, it is fetched whole from one source at a time; a source
    // whose whole file is wrong is banned.
    int exclusiveSource = -1;
    bool checkFailed = false;
    int64_t received() const;
    // Every chunk is on disk.
    bool allHeld() const;
    int chunkCount() const { return int((size + ChunkSize - 1) / ChunkSize); }
    int64_t chunkLength(int chunk) const
    {
        return std::min<int64_t>(ChunkSize, size - int64_t(chunk) * ChunkSize);
    }
};

} // namespace gnutella
