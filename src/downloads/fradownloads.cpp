#include "downloads/fradownloads.h"

TfraDownloads::TfraDownloads(QWidget* parent) : ViewFrame(parent) {}

void TfraDownloads::Initialize() {}

void TfraDownloads::Finalize() {}

void TfraDownloads::ToolCommand(int) {}
