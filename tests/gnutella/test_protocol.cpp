#include "gnutella/protocol/base32.h"
#include "gnutella/protocol/ggep.h"
#include "gnutella/protocol/handshake.h"
#include "gnutella/protocol/messageframer.h"
#include "gnutella/protocol/pong.h"
#include "gnutella/protocol/push.h"
#include "gnutella/protocol/query.h"
#include "gnutella/protocol/queryhit.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>
#include <zlib.h>

namespace {

using namespace gnutella;

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

TEST(Protocol, HeaderAndFraming)
{
    const QByteArray bytes = hex("00 01 02 03 04 05 06 07 ff 09 0a 0b 0c 0d 0e 00 80 03 00 14 00 00 00");
    const auto header = MessageHeader::decode(bytes.constData(), bytes.size());
    ASSERT_TRUE(header);
    EXPECT_EQ(header->type, Query);
    EXPECT_EQ(header->ttl, 3);
    EXPECT_EQ(header->length, 20u);
    EXPECT_EQ(header->encode(), bytes);
    EXPECT_FALSE(MessageHeader::decode(bytes.constData(), 22));
    const QByteArray guid = NewGuid();
    EXPECT_EQ(guid.size(), 16);
    EXPECT_EQ(static_cast<unsigned char>(guid[8]), 0xFF);
    EXPECT_EQ(guid[15], '\0');

    Message ping{{guid, Ping, 1, 0, 0}, {}};
    Message query{{NewGuid(), Query, 3, 0, 0}, hex("c000") + "beatles" + QByteArray(1, '\0')};
    const QByteArray stream = ping.encode() + query.encode();
    MessageFramer framer;
    Message out;
    framer.feed(stream.left(10));
    EXPECT_EQ(framer.next(out), MessageFramer::Result::NeedMore);
    framer.feed(stream.mid(10, 30));
    ASSERT_EQ(framer.next(out), MessageFramer::Result::Ready);
    EXPECT_EQ(out.header.type, Ping);
    EXPECT_EQ(framer.next(out), MessageFramer::Result::NeedMore);
    framer.feed(stream.mid(40));
    ASSERT_EQ(framer.next(out), MessageFramer::Result::Ready);
    EXPECT_EQ(out.payload, query.payload);
    EXPECT_EQ(framer.buffered(), 0);

    MessageFramer small(100);
    Message huge{{NewGuid(), QueryHit, 1, 0, 0}, QByteArray(101, 'x')};
    small.feed(huge.encode().left(30));
    EXPECT_EQ(small.next(out), MessageFramer::Result::Broken) << "refused from its header alone";
    small.feed(Message{{NewGuid(), Ping, 1, 0, 0}, {}}.encode());
    EXPECT_EQ(small.next(out), MessageFramer::Result::Broken) << "a broken stream stays broken";
}

TEST(Protocol, GgepBlocks)
{
    const QByteArray block = hex("c3 02 44 55 42 10 0e 82 55 50 43 01 05 1e");
    qsizetype used = 0;
    const auto parsed = ParseGgep(block.constData(), block.size(), &used);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(used, block.size());
    ASSERT_EQ(parsed->size(), 2u);
    EXPECT_EQ((*parsed)[0].id, QByteArray("DU"));
    EXPECT_EQ((*parsed)[0].data, hex("100e"));
    EXPECT_EQ((*parsed)[1].data, hex("01051e"));
    EXPECT_EQ(EncodeGgep(*parsed), block);

    for (int length : {0, 1, 63, 64, 100, 4095, 4096, 70000}) {
        const QByteArray encoded = EncodeGgep({{"X", QByteArray(length, 'z')}});
        const auto again = ParseGgep(encoded.constData(), encoded.size());
        ASSERT_TRUE(again) << length;
        EXPECT_EQ(again->front().data.size(), length);
    }
    EXPECT_EQ(EncodeGgep({{"X", QByteArray(64, 'z')}}).mid(3, 2), hex("8140"));

    // Deflated data, and COBS-encoded data holding zero bytes.
    QByteArray plain(3000, 'p');
    uLongf packedSize = compressBound(uLong(plain.size()));
    QByteArray packed(qsizetype(packedSize), '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
             reinterpret_cast<const Bytef*>(plain.constData()), uLong(plain.size()));
    packed.truncate(qsizetype(packedSize));
    QByteArray deflated = EncodeGgep({{"Z", packed}});
    deflated[1] = char(deflated[1] | 0x20);
    const auto inflated = ParseGgep(deflated.constData(), deflated.size());
    ASSERT_TRUE(inflated);
    EXPECT_EQ(inflated->front().data, plain);
    QByteArray cobs = EncodeGgep({{"C", hex("03 11 22 02 33")}});
    cobs[1] = char(cobs[1] | 0x40);
    const auto decoded = ParseGgep(cobs.constData(), cobs.size());
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->front().data, hex("11 22 00 33"));

    const char* broken[] = {"c3", "c3 92 44 55 40", "c3 80 40", "c3 82 44 55 81", "c3 82 44 55 45 01",
                            "c3 01 44", "44 55"};
    for (const char* bytes : broken) {
        const QByteArray b = hex(bytes);
        EXPECT_FALSE(ParseGgep(b.constData(), b.size())) << bytes;
    }
}

TEST(Protocol, Base32Sha1Urns)
{
    const QByteArray empty = QCryptographicHash::hash({}, QCryptographicHash::Sha1);
    EXPECT_EQ(Base32Encode(empty), QByteArray("3I42H3S6NNFQ2MSVX7XZKYAYSCX5QBYJ"));
    EXPECT_EQ(Base32Decode("3i42h3s6nnfq2msvx7xzkyayscx5qbyj"), empty);
    EXPECT_FALSE(Base32Decode("ABC1"));
}

TEST(Protocol, PongAndQuery)
{
    const auto pong = PongPayload::decode(
        hex("ca 18 c0 00 02 0a 78 00 00 00 08 00 00 00 c3 02 44 55 42 10 0e 82 55 50 43 01 05 1e"));
    ASSERT_TRUE(pong);
    EXPECT_EQ(pong->port, 6346);
    EXPECT_EQ(pong->ip, (192u << 24) | (2u << 8) | 10u);
    EXPECT_EQ(pong->files, 120u);
    EXPECT_EQ(pong->kilobytes, 8u);
    EXPECT_EQ(pong->ggep.size(), 2u);
    EXPECT_FALSE(PongPayload::decode(QByteArray(13, '\0')));

    const QByteArray example = hex("c0 00") + "beatles yesterday" + QByteArray(1, '\0');
    const auto query = QueryPayload::decode(example);
    ASSERT_TRUE(query);
    EXPECT_EQ(query->flags, QueryUsesFlags | QueryFirewalled);
    EXPECT_EQ(query->text, QStringLiteral("beatles yesterday"));
    EXPECT_EQ(query->encode(), example);

    QueryPayload byHash;
    byHash.urns << "urn:sha1:3I42H3S6NNFQ2MSVX7XZKYAYSCX5QBYJ";
    const auto again = QueryPayload::decode(byHash.encode());
    ASSERT_TRUE(again);
    EXPECT_TRUE(again->text.isEmpty());
    EXPECT_EQ(again->urns, byHash.urns);
    EXPECT_FALSE(QueryPayload::decode(hex("c000") + "no end"));
    EXPECT_FALSE(QueryPayload::decode(hex("c000") + QByteArray(300, 'a') + QByteArray(1, '\0')));
}

TEST(Protocol, QueryHits)
{
    QueryHitPayload hit;
    hit.port = 6346;
    hit.ip = (127u << 24) | 1u;
    hit.speed = 1000;
    hit.results = {{1, 4000000, QStringLiteral("Artist - Song.mp3"),
                    "urn:sha1:3I42H3S6NNFQ2MSVX7XZKYAYSCX5QBYJ"},
                   {2, 123, QString::fromUtf8("Björk - Jóga.mp3"), {}}};
    hit.vendor = "TVRN";
    hit.needsPush = true;
    hit.serventGuid = NewGuid();
    const auto decoded = QueryHitPayload::decode(hit.encode());
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->results.size(), 2u);
    EXPECT_EQ(decoded->results[0].name, QStringLiteral("Artist - Song.mp3"));
    EXPECT_EQ(decoded->results[0].size, 4000000u);
    EXPECT_EQ(decoded->results[0].sha1Urn, hit.results[0].sha1Urn);
    EXPECT_EQ(decoded->results[1].name, hit.results[1].name);
    EXPECT_TRUE(decoded->results[1].sha1Urn.isEmpty());
    EXPECT_EQ(decoded->vendor, QByteArray("TVRN"));
    EXPECT_TRUE(decoded->needsPush);
    EXPECT_FALSE(decoded->busy);
    EXPECT_EQ(decoded->serventGuid, hit.serventGuid);
    EXPECT_EQ(decoded->port, 6346);

    // A binary hash in a GGEP "H" extension names the file too.
    QByteArray binary = hit.encode();
    const QByteArray urnText = hit.results[0].sha1Urn;
    const QByteArray sha1 = *Base32Decode(urnText.mid(9));
    const QByteArray ggep = EncodeGgep({{"H", QByteArray(1, '\1') + sha1}});
    if (!ggep.contains('\0')) {
        binary.replace(binary.indexOf(urnText), urnText.size(), ggep);
        const auto viaGgep = QueryHitPayload::decode(binary);
        ASSERT_TRUE(viaGgep);
        EXPECT_EQ(viaGgep->results[0].sha1Urn, urnText);
    }

    QByteArray lying = hit.encode();
    lying[0] = char(3);
    EXPECT_FALSE(QueryHitPayload::decode(lying)) << "more records than bytes";
    EXPECT_FALSE(QueryHitPayload::decode(hit.encode().left(40)));
}

TEST(Protocol, PushAndGiv)
{
    const QByteArray wire = hex("0123456789abcdef0123456789abcdef 2a000000 c0000207 ca18");
    const auto push = PushPayload::decode(wire + "GGEP-ignored");
    ASSERT_TRUE(push);
    EXPECT_EQ(push->serventGuid, wire.left(16));
    EXPECT_EQ(push->index, 42u);
    EXPECT_EQ(push->ip, (192u << 24) | (2u << 8) | 7u);
    EXPECT_EQ(push->port, 6346);
    EXPECT_EQ(push->encode(), wire);
    EXPECT_FALSE(PushPayload::decode(wire.left(25)));

    const GivLine giv{7, wire.left(16), QStringLiteral("Band - Song 1/2.mp3")};
    EXPECT_EQ(giv.encode(), QByteArray("GIV 7:0123456789ABCDEF0123456789ABCDEF/Band - Song 1%2F2.mp3\n\n"));
    const auto back = GivLine::parse(giv.encode().trimmed());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->index, 7u);
    EXPECT_EQ(back->serventGuid, giv.serventGuid);
    EXPECT_EQ(back->name, giv.name);

    const auto plain = GivLine::parse("GIV 0:0123456789abcdef0123456789abcdef/");
    ASSERT_TRUE(plain) << "lower-case hex, no name";
    EXPECT_EQ(plain->serventGuid, giv.serventGuid);
    EXPECT_TRUE(plain->name.isEmpty());
    for (const char* broken : {"GET 7:0123456789ABCDEF0123456789ABCDEF/x", "GIV 7-0123456789ABCDEF0123456789ABCDEF/x",
                               "GIV x:0123456789ABCDEF0123456789ABCDEF/x", "GIV 7:0123456789ABCDEF0123456789ABCDE/x",
                               "GIV 7:0123456789ABCDEF0123456789ABCDEG/x", "GIV 99999999999:0123456789ABCDEF0123456789ABCDEF/x"})
        EXPECT_FALSE(GivLine::parse(broken)) << broken;
}

TEST(Protocol, HandshakeBlocksAndTryHosts)
{
    HandshakeReader reader;
    HandshakeBlock block;
    QByteArray rest;
    EXPECT_EQ(reader.feed("GNUTELLA/0.6 200 OK\r\nUser-Agent: Peer/1.0\r\nX-Try-Ultrapeers: 1.2.3.4:6346,",
                          block, rest),
              HandshakeReader::Result::NeedMore);
    EXPECT_EQ(reader.feed("\r\n 5.6.7.8 2004-12-18T23:47Z, bad, 9.9.9.9:70000\r\nx-try-ultrapeers: "
                          "10.0.0.1:6350\r\nX-Ultrapeer: True\r\n\r\nBINARY",
                          block, rest),
              HandshakeReader::Result::Complete);
    EXPECT_EQ(block.statusCode(), 200);
    EXPECT_EQ(block.header("user-agent"), QByteArray("Peer/1.0"));
    EXPECT_EQ(block.header("X-Ultrapeer"), QByteArray("True"));
    EXPECT_EQ(rest, QByteArray("BINARY"));
    const QList<HostAddress> hosts = ParseTryHosts(block.header("X-Try-Ultrapeers"));
    ASSERT_EQ(hosts.size(), 3);
    EXPECT_EQ(hosts[0].text(), QStringLiteral("1.2.3.4:6346"));
    EXPECT_EQ(hosts[1].text(), QStringLiteral("5.6.7.8:6346"));
    EXPECT_EQ(hosts[2].text(), QStringLiteral("10.0.0.1:6350"));

    HandshakeReader bare;
    EXPECT_EQ(bare.feed("GNUTELLA CONNECT/0.6\nX-Ultrapeer: False\n\n", block, rest),
              HandshakeReader::Result::Complete);
    EXPECT_EQ(block.statusCode(), 0);
    EXPECT_EQ(block.startLine, QByteArray("GNUTELLA CONNECT/0.6"));

    HandshakeReader flood;
    QByteArray many = "GNUTELLA/0.6 200 OK\r\n";
    for (int i = 0; i < 200; ++i)
        many += "X-Header-" + QByteArray::number(i) + ": v\r\n";
    EXPECT_EQ(flood.feed(many + "\r\n", block, rest), HandshakeReader::Result::Broken);
    HandshakeReader endless;
    EXPECT_EQ(endless.feed(QByteArray(40000, 'a'), block, rest), HandshakeReader::Result::Broken);
    EXPECT_EQ(endless.feed("\r\n\r\n", block, rest), HandshakeReader::Result::Broken);
}

} // namespace
