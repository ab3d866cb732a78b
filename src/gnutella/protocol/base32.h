#pragma once

#include <QByteArray>
#include <optional>

namespace gnutella {

// Base32 of RFC 4648 (A-Z, 2-7, no padding), as SHA-1 URNs write their 20 bytes.
QByteArray Base32Encode(const QByteArray& bytes);
// Nothing when the text holds a character outside the alphabet (either letter case is read).
std::optional<QByteArray> Base32Decode(const QByteArray& text);

} // namespace gnutella
