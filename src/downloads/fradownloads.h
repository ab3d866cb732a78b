#pragma once

#include "platform/viewframe.h"

#include <cstdint>

class TfraDownloads final : public ViewFrame {
    Q_OBJECT
public:
    explicit TfraDownloads(QWidget* parent = nullptr);

    void Initialize() override;
    void Finalize() override;
    void ToolCommand(int number) override;

    // Calls of the main window, as the engine reports its downloads.
    void AddDownload(int32_t downloadId, const QString& fileName, int32_t fileSize,
                     int32_t received);
    void UpdateDownload(int32_t downloadId, int32_t received, int32_t secondsLeft, int32_t rate,
                        int32_t hostsKnown, int32_t hostsActive);
    void DownloadComplete(int32_t downloadId);
};
