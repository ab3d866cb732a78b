#pragma once

#include <QString>

// Class-level string helpers; never instantiated.
class TStringUtils final {
public:
    TStringUtils() = delete;

    // The index-th (1-based) field of text split at separator, or an empty string. Fields may
    // be empty: "a--b" split at "-" has three fields.
    static QString GetToken(const QString& text, const QString& separator, int index);

    // The text without blanks and control characters (codes up to 32) at either end.
    static QString TrimControls(const QString& text);
};
