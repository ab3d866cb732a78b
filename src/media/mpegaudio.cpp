#include "media/mpegaudio.h"

#include "media/filereader.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Bit rates in kbit/s by [MPEG 1 or not][layer bits][bit-rate index]. MPEG 2.5 uses the MPEG 2
// table; reserved layers, index 0 and index 15 are 0.
constexpr int kBitRates[2][4][16] = {
    {// MPEG 2 and 2.5
     {0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0}},
    {// MPEG 1
     {0},
     {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
     {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
     {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0}}};

enum : uint8_t { kMpeg25 = 0, kReservedVersion = 1, kMpeg2 = 2, kMpeg1 = 3 };
enum : uint8_t { kLayer3 = 1, kLayer2 = 2, kLayer1 = 3 };

int32_t bigEndian32(const unsigned char* b)
{
    return int32_t(uint32_t(b[0]) << 24 | uint32_t(b[1]) << 16 | uint32_t(b[2]) << 8 | b[3]);
}

struct Decoded {
    uint8_t version, layer, bitRateIndex, sampleRateIndex, mode;
    bool padding;
};

Decoded decode(const unsigned char* b)
{
    return {uint8_t((b[1] >> 3) & 3), uint8_t((b[1] >> 1) & 3), uint8_t(b[2] >> 4),
            uint8_t((b[2] >> 2) & 3), uint8_t(b[3] >> 6), ((b[2] >> 1) & 1) != 0};
}

int bitRateOf(uint8_t version, uint8_t layer, uint8_t index)
{
    if (version == kReservedVersion)
        return 0;
    return kBitRates[version == kMpeg1 ? 1 : 0][layer][index];
}

int sampleRateOf(uint8_t version, uint8_t index)
{
    static constexpr int kRates[4][3] = {
        {11025, 12000, 8000}, {0, 0, 0}, {22050, 24000, 16000}, {44100, 48000, 32000}};
    return index > 2 ? 0 : kRates[version][index];
}

int coefficientOf(uint8_t version, uint8_t layer)
{
    if (layer == kLayer1)
        return 48;
    if (layer == kLayer3 && version != kMpeg1)
        return 72;
    return 144;
}

int paddingOf(uint8_t layer, bool padding)
{
    if (!padding)
        return 0;
    return layer == kLayer1 ? 4 : 1;
}

uint16_t frameLength(const Decoded& d)
{
    const double length = std::floor(double(coefficientOf(d.version, d.layer)) *
                                     bitRateOf(d.version, d.layer, d.bitRateIndex) * 1000.0 /
                                     sampleRateOf(d.version, d.sampleRateIndex));
    return uint16_t(uint32_t(length) + uint32_t(paddingOf(d.layer, d.padding)));
}

} // namespace

bool TMPEGaudio::IsFrameHeader(const unsigned char* b)
{
    const Decoded d = decode(b);
    return b[0] == 0xFF && (b[1] & 0xE0) == 0xE0 && d.version != kReservedVersion &&
           d.layer != 0 && d.bitRateIndex != 0 && d.bitRateIndex != 15 &&
           d.sampleRateIndex != 3 && (b[3] & 3) != 2;
}

void TMPEGaudio::Reset()
{
    FileSize = 0;
    VBR = VBRData{};
    Frame = FrameInfo{};
    m_v1.Reset();
    m_v2.Reset();
}

bool TMPEGaudio::AnalyseFile(const QString& path)
{
    Reset();
    FileReader file(path);
    bool result = m_v2.LoadFromReader(file) && m_v1.LoadFromReader(file);
    if (result)
        result = readAudio(file);
    if (!Frame.Present)
        Reset();
    return result;
}

bool TMPEGaudio::readAudio(FileReader& file)
{
    FileSize = file.size();
    unsigned char window[kWindow];
    // Bytes behind a short read stay zero, which no frame header can begin with.
    std::memset(window, 0, sizeof window);
    const int64_t got = file.read(m_v2.TagSize, window, kWindow);
    if (got < 0)
        return false;
    if (searchWindow(window) || got < kWindow)
        return true;
    std::memset(window, 0, sizeof window);
    return file.read((FileSize - m_v2.TagSize) / 2, window, kWindow) >= 0 &&
           (searchWindow(window), true);
}

bool TMPEGaudio::searchWindow(const unsigned char* window)
{
    for (int p = 0; p <= kLastStart; ++p) {
        if (!IsFrameHeader(window + p))
            continue;
        const Decoded d = decode(window + p);
        const int next = p + frameLength(d);
        // A successor that would reach past the window is not looked for in the file.
        if (next + 4 > kWindow || !IsFrameHeader(window + next))
            continue;
        Frame.Present = true;
        Frame.Offset = p;
        Frame.VersionBits = d.version;
        Frame.LayerBits = d.layer;
        Frame.BitRateIndex = d.bitRateIndex;
        Frame.SampleRateIndex = d.sampleRateIndex;
        Frame.PaddingBit = d.padding;
        Frame.ModeBits = d.mode;
        readVBR(window, p);
        return true;
    }
    return false;
}

void TMPEGaudio::readVBR(const unsigned char* window, int frameStart)
{
    VBR = VBRData{};
    const bool mono = Frame.ModeBits == 3;
    const int distance = Frame.VersionBits == kMpeg1 ? (mono ? 21 : 36) : (mono ? 13 : 21);
    // frameStart is at most 1729, so the header's 18 bytes always lie inside the window.
    const unsigned char* vbr = window + frameStart + distance;
    if (std::memcmp(vbr, "Xing", 4) == 0) {
        VBR.Present = true;
        std::memcpy(VBR.Kind, "Xing", 4);
        VBR.FrameCount = bigEndian32(vbr + 8);
        VBR.ByteCount = bigEndian32(vbr + 12);
    } else if (std::memcmp(vbr, "VBRI", 4) == 0) {
        VBR.Present = true;
        std::memcpy(VBR.Kind, "VBRI", 4);
        VBR.ByteCount = bigEndian32(vbr + 10);
        VBR.FrameCount = bigEndian32(vbr + 14);
    }
}

int TMPEGaudio::tableBitRate() const
{
    return Frame.Present ? bitRateOf(Frame.VersionBits, Frame.LayerBits, Frame.BitRateIndex) : 0;
}

int TMPEGaudio::sampleRate() const
{
    return sampleRateOf(Frame.VersionBits, Frame.SampleRateIndex);
}

int TMPEGaudio::coefficient() const
{
    return coefficientOf(Frame.VersionBits, Frame.LayerBits);
}

int TMPEGaudio::paddingSize() const
{
    return paddingOf(Frame.LayerBits, Frame.PaddingBit);
}

uint16_t TMPEGaudio::BitRate() const
{
    if (!Frame.Present)
        return 0;
    if (VBR.Present && VBR.FrameCount > 0) {
        const double rate = (double(VBR.ByteCount) / VBR.FrameCount - paddingSize()) *
                            sampleRate() / coefficient() / 1000.0;
        // Halves go to the even neighbour. Rates outside 16 bits are held at the nearest end,
        // so a wild VBR header cannot wrap around into a plausible rate.
        const double rounded = std::nearbyint(rate);
        if (!(rounded > 0))
            return 0;
        return rounded >= std::numeric_limits<uint16_t>::max() ? std::numeric_limits<uint16_t>::max()
                                                               : uint16_t(rounded);
    }
    return uint16_t(tableBitRate());
}

double TMPEGaudio::Duration() const
{
    if (!Frame.Present)
        return 0;
    if (VBR.Present && VBR.FrameCount > 0)
        return double(coefficient()) * VBR.FrameCount * 8 / sampleRate();
    int64_t audioBytes = FileSize - m_v2.TagSize;
    if (m_v1.Present)
        audioBytes -= 128;
    return double(audioBytes - Frame.Offset) / tableBitRate() / 1000.0 * 8;
}

bool TMPEGaudio::IsValid() const
{
    const int rate = BitRate();
    return Frame.Present && rate >= 8 && rate <= 448 && Duration() >= 0.1;
}
