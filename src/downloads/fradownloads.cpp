#include "downloads/fradownloads.h"

TfraDownloads::TfraDownloads(QWidget* parent) : ViewFrame(parent) {}

void TfraDownloads::Initialize() {}

void TfraDownloads::Finalize() {}

void TfraDownloads::ToolCommand(int) {}

void TfraDownloads::AddDownload(int32_t, const QString&, int32_t, int32_t) {}

void TfraDownloads::UpdateDownload(int32_t, int32_t, int32_t, int32_t, int32_t, int32_t) {}

void TfraDownloads::DownloadComplete(int32_t) {}
