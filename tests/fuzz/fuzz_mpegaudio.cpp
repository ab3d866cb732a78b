#include "fuzz/fuzzfile.h"
#include "media/fileinfo.h"
#include "media/mpegaudio.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = WriteFuzzInput(data, size);
    TMPEGaudio audio;
    if (audio.AnalyseFile(path)) {
        volatile double sink = audio.Duration() + audio.BitRate() + (audio.IsValid() ? 1 : 0);
        (void)sink;
    }
    const FileInfo info = ReadFileInfo(path);
    volatile qsizetype length = info.Title.size() + info.Genre.size();
    (void)length;
    return 0;
}
