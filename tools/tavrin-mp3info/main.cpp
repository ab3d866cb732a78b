// tavrin-mp3info FILE...: prints, for each file, one JSON line with what Tavrin reads from it:
// the MPEG audio analysis, both tags, and the record a library scan stores for it.

#include "common/formatting.h"
#include "jsonline.h"
#include "media/fileinfo.h"
#include "media/mpegaudio.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

JsonLine describe(const QString& path)
{
    TMPEGaudio audio;
    const bool read = audio.AnalyseFile(path);
    const auto& frame = audio.Frame;
    const auto& vbr = audio.VBR;
    const TID3v1& v1 = audio.V1Tag();
    const TID3v2& v2 = audio.V2Tag();

    // What a scan stores: the file name stands in for a missing title, and each text is cut
    // to the width of its library field.
    const FileInfo info = ReadFileInfo(path);
    const QString title = info.Title.isEmpty() ? FileTitle(QFileInfo(path).fileName()) : info.Title;

    JsonLine line;
    line.add("path", path)
        .add("read", read)
        .add("valid", audio.IsValid())
        .add("bitrate", int(audio.BitRate()))
        .add("duration", audio.Duration())
        .add("frame", JsonLine()
                          .add("present", frame.Present)
                          .add("offset", frame.Offset)
                          .add("version_bits", int(frame.VersionBits))
                          .add("layer_bits", int(frame.LayerBits))
                          .add("bitrate_index", int(frame.BitRateIndex))
                          .add("samplerate_index", int(frame.SampleRateIndex))
                          .add("padding", frame.PaddingBit)
                          .add("mode", int(frame.ModeBits)))
        .add("vbr", JsonLine()
                        .add("present", vbr.Present)
                        .add("kind", vbr.Present ? QString::fromLatin1(vbr.Kind, 4) : QString())
                        .add("frames", vbr.FrameCount)
                        .add("bytes", vbr.ByteCount))
        .add("v1", JsonLine()
                       .add("present", v1.Present)
                       .add("title", v1.Title)
                       .add("artist", v1.Artist)
                       .add("album", v1.Album)
                       .add("year", v1.Year)
                       .add("genre_index", int(v1.GenreIndex))
                       .add("genre", v1.GenreName()))
        .add("v2", JsonLine()
                       .add("present", v2.Present)
                       .add("version", int(v2.Version))
                       .add("tag_size", v2.TagSize)
                       .add("title", v2.Title)
                       .add("artist", v2.Artist)
                       .add("album", v2.Album)
                       .add("year", v2.Year)
                       .add("genre", v2.Genre))
        .add("library", JsonLine()
                            .add("title", title.left(256))
                            .add("artist", info.Artist.left(128))
                            .add("album", info.Album.left(128))
                            .add("genre", info.Genre.left(128))
                            .add("year", info.Year.left(4))
                            .add("quality", info.BitRate)
                            .add("seconds", info.Seconds));
    return line;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QStringList files = application.arguments().mid(1);
    if (files.isEmpty()) {
        std::fputs("usage: tavrin-mp3info FILE...\n", stderr);
        return 2;
    }
    for (const QString& file : files) {
        const QByteArray line = describe(file).text() + '\n';
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    }
    return 0;
}
