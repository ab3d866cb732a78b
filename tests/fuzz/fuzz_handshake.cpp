// Handshake groups from a peer, with the host lists they carry; host-cache lines, web cache
// answers and UDP host cache pongs, which bring hosts the same way.
#include "gnutella/net/bootstrap.h"
#include "gnutella/net/hostcache.h"
#include "gnutella/protocol/handshake.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace gnutella;
    HandshakeReader reader;
    HandshakeBlock block;
    QByteArray rest;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (reader.feed(bytes, block, rest) == HandshakeReader::Result::Complete) {
        (void)block.statusCode();
        ParseTryHosts(block.header("X-Try-Ultrapeers"));
        ParseTryHosts(block.header("X-Try"));
    }
    // Host-cache file lines are read the same way, one address a line.
    for (const QByteArray& line : bytes.split('\n'))
        ParseHostAddress(line);
    HostCache cache;
    gnutella::Bootstrap::ReadWebCacheAnswer(bytes, cache);
    gnutella::Bootstrap::ReadUdpPong(bytes, cache);
    return 0;
}
