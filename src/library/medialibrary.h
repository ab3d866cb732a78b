#pragma once

#include "library/mymediadb.h"

#include <QString>
#include <functional>

// Keeps the library table in step with the music folder: a scan adds the files it has not
// seen (reading their tags once) and forgets the records of files that are gone.
class MediaLibrary final {
public:
    explicit MediaLibrary(TMyMediaDB& db) : m_db(db) {}

    // Scans folder, one level deep. pause is called now and then so that the window can
    // repaint during long scans.
    void ScanFolder(const QString& folder, const std::function<void()>& pause = {});
    void RemoveMissingFiles(const QString& folder);
    // The record a scan stores for a file of folder: its tags, or its name as title.
    static MediaRecord ReadRecord(const QString& folder, const QString& fileName, int32_t size);

private:
    void addNewFiles(const QString& folder, const std::function<void()>& pause);

    TMyMediaDB& m_db;
};
