#pragma once

#include "platform/viewframe.h"

class TfraDownloads final : public ViewFrame {
    Q_OBJECT
public:
    explicit TfraDownloads(QWidget* parent = nullptr);

    void Initialize() override;
    void Finalize() override;
    void ToolCommand(int number) override;
};
