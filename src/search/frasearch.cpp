#include "search/frasearch.h"

TfraSearch::TfraSearch(QWidget* parent) : ViewFrame(parent) {}

void TfraSearch::Initialize() {}

void TfraSearch::Finalize() {}

void TfraSearch::ToolCommand(int) {}
