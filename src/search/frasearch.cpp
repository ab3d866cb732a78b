#include "search/frasearch.h"

TfraSearch::TfraSearch(QWidget* parent) : ViewFrame(parent) {}

void TfraSearch::Initialize() {}

void TfraSearch::Finalize() {}

void TfraSearch::ToolCommand(int) {}

void TfraSearch::NetworkConnected() {}

void TfraSearch::NetworkDisconnected() {}

void TfraSearch::SearchPaused() {}

void TfraSearch::ResultReceived(int32_t, int32_t, const QString&, int32_t, int32_t) {}

void TfraSearch::ResultUpdated(int32_t, int32_t, int32_t) {}
