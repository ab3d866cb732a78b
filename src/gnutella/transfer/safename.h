#pragma once

#include <QString>

namespace gnutella {

// A peer's file name reduced to a plain file name that is safe to create in a folder: no
// folders, no "..", no control characters, no leading dot, at most 200 characters, never empty.
QString SafeFileName(const QString& name);
// folder/name, or folder/"name (2).ext" and so on when that file exists: nothing is replaced.
QString UniquePath(const QString& folder, const QString& name);

} // namespace gnutella
