#pragma once

#include "platform/viewframe.h"

#include <cstdint>

class TfraMedia final : public ViewFrame {
    Q_OBJECT
public:
    explicit TfraMedia(QWidget* parent = nullptr);

    void Initialize() override;
    void Finalize() override;
    void ToolCommand(int number) override;

    // A completed download in the music folder joins the library.
    void AddDownloadedFile(const QString& fileName, int32_t fileSize);
};
