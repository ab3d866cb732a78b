// GGEP blocks as they appear in pongs, queries and query hits.
#include "gnutella/protocol/ggep.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    qsizetype used = 0;
    if (auto block = gnutella::ParseGgep(reinterpret_cast<const char*>(data), qsizetype(size), &used))
        gnutella::EncodeGgep(*block);
    return 0;
}
