#pragma once

#include "platform/viewhost.h"

#include <cstdint>

// What the main window offers the Downloads view: one engine operation per call, and the
// preview of an incomplete file in the Music view's player.
class DownloadsHost : public virtual ViewHost {
public:
    virtual void DownloadResume(int32_t downloadId) = 0;        // Download#17
    virtual void DownloadPause(int32_t downloadId) = 0;         // Download#18
    virtual void DownloadRemove(int32_t downloadId) = 0;        // Download#19
    virtual void DownloadFindMoreHosts(int32_t downloadId) = 0; // Download#21
    virtual void PreviewDownload(int32_t downloadId) = 0;
};
