#include "library/framedia.h"

TfraMedia::TfraMedia(QWidget* parent) : ViewFrame(parent) {}

void TfraMedia::Initialize() {}

void TfraMedia::Finalize() {}

void TfraMedia::ToolCommand(int) {}

void TfraMedia::AddDownloadedFile(const QString&, int32_t) {}
