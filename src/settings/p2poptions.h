#pragma once

#include <QString>
#include <cstdint>

// The peer-to-peer settings: connecting and downloading.
class TP2POptions {
public:
    bool AutoConnect = false;
    QString DownloadsPath;
    QString PartialsPath;
    int32_t MaxDownloads = 0;
    int32_t MaxKbpsDownloads = 0;
};
