#pragma once

#include "platform/viewframe.h"

class TfraMedia final : public ViewFrame {
    Q_OBJECT
public:
    explicit TfraMedia(QWidget* parent = nullptr);

    void Initialize() override;
    void Finalize() override;
    void ToolCommand(int number) override;
};
