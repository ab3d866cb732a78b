// make_seeds DIR: writes the seed corpus of the MP3 fuzz targets, small files of every shape
// the readers know.

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

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: make_seeds DIR\n", stderr);
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(dir.path());
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
