#include "fuzz/fuzzfile.h"
#include "media/id3v2.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TID3v2 tag;
    if (tag.LoadFromFile(WriteFuzzInput(data, size))) {
        volatile qsizetype length = tag.Title.size() + tag.Artist.size() + tag.Genre.size();
        (void)length;
    }
    return 0;
}
