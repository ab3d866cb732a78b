#pragma once

#include "platform/viewhost.h"

#include <cstdint>

// What the main window offers the Search view: one engine operation per call, the combined
// download start, and the legal notice.
class SearchHost : public virtual ViewHost {
public:
    virtual int32_t SearchStart(const QString& query) = 0; // Search#1
    virtual void SearchEnd(int32_t searchId) = 0;          // Search#2
    virtual void SearchStop(int32_t searchId) = 0;         // Search#7
    virtual void SearchContinue(int32_t searchId) = 0;     // Search#36
    // Starts the download of a result and lists it in the Downloads view.
    virtual void StartDownload(int32_t searchId, int32_t resultId) = 0;
    virtual void ShowLegalNoticeDialog() = 0;
};
