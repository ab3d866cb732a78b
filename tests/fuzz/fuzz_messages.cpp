// A peer's byte stream, cut into messages and each payload read by its type.
#include "gnutella/protocol/messageframer.h"
#include "gnutella/protocol/pong.h"
#include "gnutella/protocol/push.h"
#include "gnutella/protocol/query.h"
#include "gnutella/protocol/queryhit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace gnutella;
    MessageFramer framer(16 * 1024);
    // Fed in uneven pieces, as reads arrive.
    size_t at = 0;
    size_t piece = 1;
    Message message;
    while (at < size) {
        const size_t length = std::min(piece, size - at);
        framer.feed(QByteArray(reinterpret_cast<const char*>(data + at), qsizetype(length)));
        at += length;
        piece = piece * 3 % 97 + 1;
        while (framer.next(message) == MessageFramer::Result::Ready) {
            switch (message.header.type) {
            case Pong:
                PongPayload::decode(message.payload);
                break;
            case Query:
                QueryPayload::decode(message.payload);
                break;
            case Push:
                if (auto push = PushPayload::decode(message.payload))
                    if (push->serventGuid.size() != 16)
                        __builtin_trap();
                break;
            case QueryHit:
                if (auto hit = QueryHitPayload::decode(message.payload))
                    for (const HitResult& r : hit->results)
                        (void)r.name.size();
                break;
            default:
                break;
            }
        }
    }
    return 0;
}
