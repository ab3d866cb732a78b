// Query routing tables from a leaf: a stream of RESET and PATCH messages, then lookups.
#include "gnutella/protocol/qrp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    gnutella::QueryRouteTable table(1024);
    // The input is cut into messages at 0xFF bytes, each applied in turn.
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QByteArray& message : bytes.split('\xFF'))
        if (!table.apply(message))
            break;
    table.mayMatch(QStringLiteral("some words here"), {"urn:sha1:3I42H3S6NNFQ2MSVX7XZKYAYSCX5QBYJ"});
    return 0;
}
