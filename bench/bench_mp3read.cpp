// bench_mp3read [FOLDER] [COUNT]: files per second for Tavrin's MPEG analysis with both tag
// reads, against TagLib's FileRef with audio properties, over the same generated files in the
// same run, page cache warm. Rounds alternate between the two; the best round of each counts.

#include "corpus.h"
#include "media/mpegaudio.h"

#include <QCoreApplication>
#include <QDir>
#include <chrono>
#include <cstdio>
#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

namespace {

using Clock = std::chrono::steady_clock;

double tavrinRound(const QStringList& paths, long& checksum)
{
    const auto start = Clock::now();
    for (const QString& path : paths) {
        TMPEGaudio audio;
        audio.AnalyseFile(path);
        checksum += audio.BitRate() + long(audio.Duration()) + audio.V2Tag().Title.size() +
                    audio.V1Tag().Title.size();
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double taglibRound(const QList<QByteArray>& paths, long& checksum)
{
    const auto start = Clock::now();
    for (const QByteArray& path : paths) {
        TagLib::FileRef file(path.constData(), true, TagLib::AudioProperties::Average);
        if (const TagLib::AudioProperties* properties = file.audioProperties())
            checksum += properties->bitrate() + properties->lengthInSeconds();
        if (const TagLib::Tag* tag = file.tag())
            checksum += long(tag->title().size() + tag->artist().size());
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                    : QDir::tempPath() + QStringLiteral("/tavrin-bench-mp3");
    const int count = argc > 2 ? std::atoi(argv[2]) : 2000;
    std::printf("corpus: %d files in %s\n", count, qPrintable(folder));
    const QStringList paths = MakeMp3Corpus(folder, count);
    QList<QByteArray> localPaths;
    for (const QString& path : paths)
        localPaths << QFile::encodeName(path);

    long checksum = 0;
    tavrinRound(paths, checksum); // warms the page cache for both
    taglibRound(localPaths, checksum);
    double tavrinBest = 1e9;
    double taglibBest = 1e9;
    for (int round = 0; round < 5; ++round) {
        tavrinBest = std::min(tavrinBest, tavrinRound(paths, checksum));
        taglibBest = std::min(taglibBest, taglibRound(localPaths, checksum));
    }
    const double tavrinRate = count / tavrinBest;
    const double taglibRate = count / taglibBest;
    std::printf("tavrin: %.0f files/s\ntaglib: %.0f files/s\nratio:  %.2f (checksum %ld)\n",
                tavrinRate, taglibRate, tavrinRate / taglibRate, checksum);
    return 0;
}
