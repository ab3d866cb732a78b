#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

// The readers take a path, so each input is written to one scratch file of the process first.
QString WriteFuzzInput(const uint8_t* data, size_t size);
