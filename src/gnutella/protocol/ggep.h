#pragma once

#include <QByteArray>
#include <optional>
#include <vector>

namespace gnutella {

// One extension of a GGEP block, with its data decoded (COBS undone, deflate inflated).
struct GgepExtension {
    QByteArray id;
    QByteArray data;
};

// Reads a GGEP block that begins at bytes (with its 0xC3 magic byte). On success, consumed is
// the block's length. Nothing for a malformed block: a bad length, a reserved flag, an empty
// id, data past the end, or data that does not decode within the size limit.
std::optional<std::vector<GgepExtension>> ParseGgep(const char* bytes, qsizetype size,
                                                    qsizetype* consumed = nullptr);
// Writes a block of plain extensions (no COBS, no deflate).
QByteArray EncodeGgep(const std::vector<GgepExtension>& extensions);

// The most data one extension may decode to.
inline constexpr qsizetype kMaxGgepData = 64 * 1024;

} // namespace gnutella
