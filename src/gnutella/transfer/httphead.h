#pragma once

#include "gnutella/protocol/handshake.h"

#include <QByteArray>
#include <cstdint>
#include <optional>

namespace gnutella {

// The head of an HTTP request or response: its start line and headers, read as a handshake
// group is.
struct HttpHead : HandshakeBlock {
    // A response's status code, or 0.
    int status() const { return StatusCodeOf(startLine, "HTTP/"); }
};

// Collects a head from a connection's bytes; a head longer than the limit, or not text, breaks
// the reader.
class HttpHeadReader final {
public:
    static constexpr int MaxBytes = 8 * 1024;
    using Result = HandshakeReader::Result;
    Result feed(const QByteArray& bytes, HttpHead& head, QByteArray& rest) { return m_reader.feed(bytes, head, rest); }

private:
    // Only the whole head is bounded, as any one line may be most of it.
    HandshakeReader m_reader{{MaxBytes, MaxBytes, MaxBytes}};
};

// A byte range, both ends included.
struct ByteRange {
    int64_t first = 0;
    int64_t last = 0;
    int64_t length() const { return last - first + 1; }
};

// "bytes=a-b", "bytes=a-" or "bytes=-n" against a file of size; nothing when it cannot be
// served.
std::optional<ByteRange> ParseRange(const QByteArray& value, int64_t size);
// "bytes a-b/total".
struct ContentRange {
    ByteRange range;
    int64_t total = 0;
};
std::optional<ContentRange> ParseContentRange(const QByteArray& value);

// An "X-Queue" answer: the downloader holds a place in the source's queue and asks again on the
// same connection between pollMin and pollMax seconds later.
struct QueuePlace {
    int position = 0; // 0 when not given
    int length = 0;
    int pollMinSeconds = 30;
    int pollMaxSeconds = 120;
};
// "position=2,length=5,limit=4,pollMin=45,pollMax=120", every key optional, any order and case;
// unknown keys and unreadable numbers are passed over, and pollMax is never below pollMin.
QueuePlace ParseQueue(const QByteArray& value);

} // namespace gnutella
