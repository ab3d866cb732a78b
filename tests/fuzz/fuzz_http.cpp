// HTTP heads of upload requests and download answers, with the headers read from them, and the
// GIV line a pushed host sends first.
#include "gnutella/protocol/handshake.h"
#include "gnutella/protocol/push.h"
#include "gnutella/transfer/httphead.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace gnutella;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (const auto giv = GivLine::parse(bytes.left(bytes.indexOf('\n'))))
        if (giv->serventGuid.size() != 16)
            __builtin_trap();
    HttpHeadReader reader;
    HttpHead head;
    QByteArray rest;
    // Fed in two pieces, as a connection delivers it.
    HttpHeadReader::Result result = reader.feed(bytes.left(bytes.size() / 2), head, rest);
    if (result == HttpHeadReader::Result::NeedMore)
        result = reader.feed(bytes.mid(bytes.size() / 2), head, rest);
    if (result != HttpHeadReader::Result::Complete)
        return 0;
    (void)head.status();
    for (const int64_t fileSize : {int64_t(0), int64_t(1), int64_t(5000), int64_t(1) << 40})
        if (const auto range = ParseRange(head.header("Range"), fileSize))
            if (range->first < 0 || range->last < range->first || range->last >= fileSize)
                __builtin_trap();
    if (const auto contentRange = ParseContentRange(head.header("Content-Range")))
        (void)contentRange->range.length();
    ParseTryHosts(head.header("X-Alt"), 20);
    const QueuePlace place = ParseQueue(head.header("X-Queue"));
    if (place.pollMaxSeconds < place.pollMinSeconds || place.pollMinSeconds < 0)
        __builtin_trap();
    return 0;
}
