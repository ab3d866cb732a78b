#pragma once

#include "media/id3v1.h"
#include "media/id3v2.h"

#include <QString>
#include <cstdint>

// Finds the first genuine MPEG audio frame of a file (two frame headers one frame length
// apart) in at most two windows of 3458 bytes, reads a Xing or VBRI header from that frame,
// and derives the bit rate and the playing time from them. Reads the file's ID3v1 and ID3v2
// tags with its own readers. Only reads; no exception leaves it.
class TMPEGaudio final {
public:
    struct VBRData {
        bool Present = false;
        char Kind[4] = {0, 0, 0, 0};
        int32_t FrameCount = 0;
        int32_t ByteCount = 0;
    };
    struct FrameInfo {
        bool Present = false;
        int32_t Offset = 0; // within the window in which the frame was found
        uint8_t VersionBits = 0;
        uint8_t LayerBits = 0;
        uint8_t BitRateIndex = 0;
        uint8_t SampleRateIndex = 0;
        bool PaddingBit = false;
        uint8_t ModeBits = 0;
    };

    static constexpr int kWindow = 3458;
    static constexpr int kLastStart = kWindow - 1729;

    TMPEGaudio() { Reset(); }

    // The file's size; wider than the 32 bits a size needs for any real music file, so that a
    // huge file cannot turn negative.
    int64_t FileSize;
    VBRData VBR;
    FrameInfo Frame;

    TID3v1& V1Tag() { return m_v1; }
    TID3v2& V2Tag() { return m_v2; }
    const TID3v1& V1Tag() const { return m_v1; }
    const TID3v2& V2Tag() const { return m_v2; }

    // True when the file could be read; IsValid tells whether a usable stream was found.
    bool AnalyseFile(const QString& path);
    bool IsValid() const;
    // In kbit/s.
    uint16_t BitRate() const;
    // In seconds.
    double Duration() const;

    // The header test of four bytes.
    static bool IsFrameHeader(const unsigned char* b);

private:
    void Reset();
    bool readAudio(class FileReader& file);
    bool searchWindow(const unsigned char* window);
    void readVBR(const unsigned char* window, int frameStart);
    int tableBitRate() const;
    int sampleRate() const;
    int coefficient() const;
    int paddingSize() const;

    TID3v1 m_v1;
    TID3v2 m_v2;
};
