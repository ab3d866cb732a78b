#pragma once

#include "settings/p2poptions.h"

#include <QString>

// The user's settings for the whole program, kept in the per-user settings file.
//
// Loading sets each value to its default and then to the stored value when one exists; a
// stored value that is not of the value's kind (text where a number belongs) keeps the
// default. When the settings store can be neither opened nor created, nothing is read and
// every field keeps its empty/false/zero start value. Saving always writes all nine values.
class TOptions final : public TP2POptions {
public:
    // appPath is the program's folder; the two folder defaults lie below it.
    explicit TOptions(QString appPath);

    bool UpdateCaches = false;
    bool ShowLegalNotice = false;
    bool UseSearchHistory = false;
    bool ClearCompleted = false;

    // productKey names the store, as "Software\Tavrin"; the values lie in its "Options" group.
    void Load(const QString& productKey);
    void Save(const QString& productKey) const;

private:
    QString m_appPath;
};
