#pragma once

#include <QByteArray>
#include <QString>

// Class-level whole-file helpers; never instantiated.
class TFileUtils final {
public:
    TFileUtils() = delete;

    // The whole content, byte for byte; empty when the file is missing or cannot be read
    // completely.
    static QByteArray LoadFileText(const QString& path);

    // Writes text as the file's whole content. The new content goes to a temporary file in the
    // same folder, which then replaces the old file, so a failed write leaves the old content
    // in place. True when the file was written completely.
    static bool SaveFileText(const QString& path, const QByteArray& text);
};
