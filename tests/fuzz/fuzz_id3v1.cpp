#include "fuzz/fuzzfile.h"
#include "media/id3v1.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TID3v1 tag;
    if (tag.LoadFromFile(WriteFuzzInput(data, size))) {
        volatile qsizetype length = tag.Title.size() + tag.Year.size() + tag.GenreName().size();
        (void)length;
    }
    return 0;
}
