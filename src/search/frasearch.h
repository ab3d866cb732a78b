#pragma once

#include "platform/viewframe.h"

class TfraSearch final : public ViewFrame {
    Q_OBJECT
public:
    explicit TfraSearch(QWidget* parent = nullptr);

    void Initialize() override;
    void Finalize() override;
    void ToolCommand(int number) override;
};
