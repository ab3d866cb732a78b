// make_seeds DIR: writes the seed corpora of the fuzz targets: DIR/mp3 holds small files of
// every shape the MP3 readers know, DIR/gnutella message streams and GGEP blocks, and
// DIR/handshake handshake groups and host lists, DIR/http HTTP request and answer heads and GIV
// lines.

#include "gnutella/protocol/ggep.h"
#include "gnutella/protocol/messageheader.h"
#include "gnutella/protocol/pong.h"
#include "gnutella/protocol/push.h"
#include "gnutella/protocol/query.h"
#include "gnutella/protocol/qrp.h"
#include "gnutella/protocol/queryhit.h"
#include "support/mp3builder.h"

#include <QDir>
#include <QFile>
#include <cstdio>

namespace {

void put(const QDir& dir, const char* name, const QByteArray& bytes)
{
    QFile file(dir.filePath(QString::fromLatin1(name)));
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

void writeGnutellaSeeds(const QDir& root)
{
    using namespace gnutella;
    const QDir messages(root.filePath(QStringLiteral("gnutella")));
    const QDir handshakes(root.filePath(QStringLiteral("handshake")));
    QDir().mkpath(messages.path());
    QDir().mkpath(handshakes.path());
    PongPayload pong;
    pong.port = 6346;
    pong.ip = 0x7F000001;
    pong.ggep = {{"DU", QByteArray("\x10\x0e", 2)}, {"UP", QByteArray("\x01\x05\x1e", 3)}};
    QueryPayload query;
    query.text = QStringLiteral("artist song");
    QueryPayload byHash;
    byHash.urns << "urn:sha1:3I42H3S6NNFQ2MSVX7XZKYAYSCX5QBYJ";
    QueryHitPayload hit;
    hit.results = {{1, 4000000, QStringLiteral("Artist - Song.mp3"),
                    "urn:sha1:3I42H3S6NNFQ2MSVX7XZKYAYSCX5QBYJ"}};
    hit.vendor = "TVRN";
    hit.serventGuid = QByteArray(16, '\x11');
    const auto message = [](uint8_t type, const QByteArray& payload) {
        return Message{{QByteArray(16, '\x22'), type, 3, 0, 0}, payload}.encode();
    };
    put(messages, "ping", message(Ping, {}));
    put(messages, "pong", message(Pong, pong.encode()));
    put(messages, "query", message(Query, query.encode()));
    put(messages, "query_urn", message(Query, byHash.encode()));
    put(messages, "hit", message(QueryHit, hit.encode()));
    put(messages, "stream", message(Ping, {}) + message(QueryHit, hit.encode()) + message(Bye, "\xc8\x00ok"));
    put(messages, "push", message(Push, PushPayload{QByteArray(16, '\x11'), 1, 0x7F000001, 6346}.encode()));
    put(messages, "ggep", EncodeGgep({{"H", QByteArray(21, '\x01')}, {"ALT", QByteArray(12, '\x02')}}));
    const QDir tables(root.filePath(QStringLiteral("qrp")));
    QDir().mkpath(tables.path());
    QueryRouteTable table(1024);
    table.addKeywords(QStringLiteral("some words here"));
    QByteArray stream;
    for (const Message& m : table.messages())
        stream += (stream.isEmpty() ? QByteArray() : QByteArray(1, '\xFF')) + m.payload;
    put(tables, "table", stream);
    put(handshakes, "connect", "GNUTELLA CONNECT/0.6\r\nUser-Agent: Tavrin/1.0.0\r\nX-Ultrapeer: False\r\n"
                               "Accept-Encoding: deflate\r\n\r\n");
    put(handshakes, "refused", "GNUTELLA/0.6 503 Full\r\nX-Try-Ultrapeers: 1.2.3.4:6346, 5.6.7.8 "
                               "2004-12-18T23:47Z\r\n\r\n");
    put(handshakes, "continued", "GNUTELLA/0.6 200 OK\r\nX-Try: 1.2.3.4,\r\n 9.9.9.9:6347\r\n\r\n");

    const QDir http(root.filePath(QStringLiteral("http")));
    QDir().mkpath(http.path());
    put(http, "request", "GET /uri-res/N2R?urn:sha1:3I42H3S6NNFQ2MSVX7XZKYAYSCX5QBYJ HTTP/1.1\r\n"
                         "Host: 127.0.0.1:6346\r\nRange: bytes=0-262143\r\nConnection: Keep-Alive\r\n\r\n");
    put(http, "partial", "HTTP/1.1 206 Partial Content\r\nContent-Length: 100\r\n"
                         "Content-Range: bytes 100-199/5000\r\nX-Alt: 1.2.3.4:6346, 5.6.7.8\r\n\r\nbody");
    put(http, "giv", GivLine{1, QByteArray(16, '\x11'), QStringLiteral("Artist - Song.mp3")}.encode());
    put(http, "busy", "HTTP/1.1 503 Busy\r\nRetry-After: 60\r\nRange: bytes=-500\r\n\r\n");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: make_seeds DIR\n", stderr);
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QDir dir(root.filePath(QStringLiteral("mp3")));
    QDir().mkpath(dir.path());
    writeGnutellaSeeds(root);
    using namespace mp3;
    Header mono;
    mono.mode = 3;
    Header mpeg2;
    mpeg2.version = Mpeg2;
    mpeg2.bitRateIndex = 8;
    Header layer2;
    layer2.layer = Layer2;
    layer2.version = Mpeg25;
    layer2.sampleRateIndex = 2;
    layer2.bitRateIndex = 14;
    const QByteArray v1 = id3v1("Title", "Artist", "Album", "2001", 17);
    const QList<Frame> frames = {{"TIT2", latin1Text("Title")},
                                 {"TPE1", utf16Text(QStringLiteral("Artist"), false)},
                                 {"TALB", utf16Text(QStringLiteral("Album"), true)},
                                 {"TYER", latin1Text("2001")},
                                 {"TCON", latin1Text("(17)Rock")}};
    put(dir, "cbr.mp3", stream({}, 6000));
    put(dir, "cbr_tags.mp3", id3v2(3, frames, 20) + stream({}, 6000) + v1);
    put(dir, "xing.mp3", vbrStream({}, "Xing", 100, 40000, 5000));
    put(dir, "vbri.mp3", vbrStream({}, "VBRI", 100, 40000, 5000, 36));
    put(dir, "mono_xing.mp3", vbrStream(mono, "Xing", 100, 40000, 5000));
    put(dir, "mpeg2.mp3", stream(mpeg2, 5000));
    put(dir, "layer2_long_frames.mp3", QByteArray(1500, '\0') + stream(layer2, 9000));
    put(dir, "v22.mp3", id3v2(2, {{"TT2", latin1Text("Old")}, {"TP1", latin1Text("Band")}}) +
                            stream({}, 3000));
    put(dir, "v24_footer.mp3", id3v2(4, frames, 0, 0x10) + stream({}, 3000));
    Frame plain{"APIC", QByteArray(300, '\x01')};
    plain.plainSizeInV4 = true;
    put(dir, "v24_plain.mp3", id3v2(4, {plain, {"TIT2", latin1Text("x")}}, 10) + stream({}, 3000));
    put(dir, "v1_only.bin", v1);
    put(dir, "tiny.bin", QByteArray("ID3\x03\0\0\0\0\0\x7F", 10));
    return 0;
}
