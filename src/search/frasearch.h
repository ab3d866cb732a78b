#pragma once

#include "platform/viewframe.h"

#include <cstdint>

class TfraSearch final : public ViewFrame {
    Q_OBJECT
public:
    explicit TfraSearch(QWidget* parent = nullptr);

    void Initialize() override;
    void Finalize() override;
    void ToolCommand(int number) override;

    // Calls of the main window, as the connection and the engine's search events change.
    void NetworkConnected();
    void NetworkDisconnected();
    void SearchPaused();
    void ResultReceived(int32_t searchId, int32_t resultId, const QString& fileName,
                        int32_t fileSize, int32_t hosts);
    void ResultUpdated(int32_t searchId, int32_t resultId, int32_t hosts);
};
