#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <stdexcept>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// One record of the library: one music file.
struct MediaRecord {
    QString fDirectory;
    QString fFileName;
    int32_t fFileSize = 0;
    QString fTitle;
    QString fArtist;
    QString fAlbum;
    QString fGenre;
    QString fYear;
    int32_t fQuality = 0;
    int32_t fSeconds = 0;
};

// A failure of the library store.
class MediaDBError final : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The music library: the table tMedia in one SQLite file, one record per (folder, file name),
// the pair compared without regard to the letter case of A to Z. Texts longer than their field
// are cut to its width (in characters), when appended and when updated. Every value is bound
// as a parameter. Store errors throw MediaDBError.
class TMyMediaDB final {
public:
    TMyMediaDB();
    ~TMyMediaDB();
    TMyMediaDB(const TMyMediaDB&) = delete;
    TMyMediaDB& operator=(const TMyMediaDB&) = delete;

    // Opens the library file, creating it when missing. A file that is not a library database
    // is kept beside it under a new name (".damaged", numbered when needed) and replaced by an
    // empty library, so the next scan can rebuild it.
    void OpenDatabase(const QString& fileName);
    void CreateMediaTable();

    bool AddMedia(const MediaRecord& record);
    void DeleteMedia(const QString& folder, const QString& fileName);
    void UpdateMediaField(const QString& folder, const QString& fileName, const QString& field,
                          const QString& value);
    void UpdateMediaDetails(const QString& folder, const QString& fileName, const QString& title,
                            const QString& artist, const QString& album, const QString& genre,
                            const QString& year);

    std::vector<MediaRecord> FindMedia(const QString& folder, const QString& fileName);
    // Every record, ordered by title.
    std::vector<MediaRecord> SelectAllMedia();
    QStringList SelectArtists();
    QStringList SelectAlbums();
    QStringList SelectGenres();

    // Groups many changes into one transaction, committed by EndBatch (also when it is left by
    // an error: what was stored stays).
    void BeginBatch();
    void EndBatch();

    // The width of a text field in characters, or 0 for a field that is not text.
    static int FieldWidth(const QString& field);

    QString fileName() const { return m_fileName; }

private:
    void open();
    void close();
    void exec(const char* sql);
    sqlite3_stmt* prepare(const char* sql);
    [[noreturn]] void fail(const char* what);
    std::vector<MediaRecord> records(sqlite3_stmt* statement);
    QStringList distinct(const char* field);

    sqlite3* m_db = nullptr;
    QString m_fileName;
    int m_batchDepth = 0;
};
