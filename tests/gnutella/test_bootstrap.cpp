#include "gnutella/net/bootstrap.h"
#include "gnutella/protocol/ggep.h"
#include "gnutella/protocol/messageheader.h"
#include "gnutella/protocol/pong.h"

#include <gtest/gtest.h>

namespace {

using namespace gnutella;

TEST(Bootstrap, WebCacheAnswersOfBothVersions)
{
    HostCache cache;
    Bootstrap::ReadWebCacheAnswer("H|10.1.1.1:6346|3600\r\nH|10.1.1.2:6347|12|extra\n"
                                  "U|http://cache.example.org/gwc.php|100\r"
                                  "U|ftp://not.a.web.cache/|1\nI|pong|Cache 1.0|gnutella\n"
                                  "10.1.1.3:6348\nH|999.1.1.1:1|1\nH||\n\n",
                                  cache);
    const QList<HostAddress> hosts = cache.hosts(HostCache::Ultrapeers);
    ASSERT_EQ(hosts.size(), 3);
    EXPECT_EQ(hosts[0].text(), QStringLiteral("10.1.1.3:6348"));
    EXPECT_EQ(cache.webCaches(), QStringList{QStringLiteral("http://cache.example.org/gwc.php")});
}

TEST(Bootstrap, UdpPongsWithPackedHosts)
{
    HostCache cache;
    PongPayload pong;
    pong.ip = (10u << 24) | 9;
    pong.port = 4876;
    QByteArray packed = QByteArray::fromHex("0a000001" "ca18" "0a000002" "cb18" "00000000" "0000");
    pong.ggep = {{"IPP", packed}, {"UDPHC", {}}};
    const QByteArray datagram = Message{{NewGuid(), Pong, 1, 0, 0}, pong.encode()}.encode();
    Bootstrap::ReadUdpPong(datagram, cache);
    EXPECT_EQ(cache.hosts(HostCache::Ultrapeers).size(), 2) << "zero addresses are skipped";
    EXPECT_EQ(cache.hosts(HostCache::Hosts).size(), 1);

    HostCache untouched;
    Bootstrap::ReadUdpPong(datagram.left(30), untouched);
    Bootstrap::ReadUdpPong(Message{{NewGuid(), Ping, 1, 0, 0}, {}}.encode(), untouched);
    EXPECT_TRUE(untouched.hosts(HostCache::Ultrapeers).isEmpty());
    EXPECT_TRUE(untouched.hosts(HostCache::Hosts).isEmpty());
}

} // namespace
