#include "library/mymediadb.h"

#include "common/textcompare.h"

#include <QFile>
#include <QHash>
#include <sqlite3.h>

namespace {

// Closes a prepared statement on every way out.
struct Statement {
    sqlite3_stmt* handle;
    ~Statement() { sqlite3_finalize(handle); }
    operator sqlite3_stmt*() const { return handle; }
};

const QHash<QString, int>& fieldWidths()
{
    static const QHash<QString, int> widths{
        {QStringLiteral("fDirectory"), 256}, {QStringLiteral("fFileName"), 256},
        {QStringLiteral("fTitle"), 256},     {QStringLiteral("fArtist"), 128},
        {QStringLiteral("fAlbum"), 128},     {QStringLiteral("fGenre"), 128},
        {QStringLiteral("fYear"), 4}};
    return widths;
}

QString cut(const QString& text, const char* field)
{
    return text.left(TMyMediaDB::FieldWidth(QLatin1String(field)));
}

void bindText(sqlite3_stmt* statement, int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

QString columnText(sqlite3_stmt* statement, int column)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(statement, column)) : QString();
}

const char* const kMatch = " WHERE LOWER(fDirectory) = ?1 AND LOWER(fFileName) = ?2";

} // namespace

TMyMediaDB::TMyMediaDB() = default;

TMyMediaDB::~TMyMediaDB()
{
    close();
}

int TMyMediaDB::FieldWidth(const QString& field)
{
    return fieldWidths().value(field, 0);
}

void TMyMediaDB::fail(const char* what)
{
    throw MediaDBError(std::string(what) + ": " + (m_db ? sqlite3_errmsg(m_db) : "no database"));
}

void TMyMediaDB::close()
{
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_batchDepth = 0;
}

void TMyMediaDB::open()
{
    close();
    const QByteArray path = QFile::encodeName(m_fileName);
    if (sqlite3_open_v2(path.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK)
        fail("cannot open the library");
    sqlite3_busy_timeout(m_db, 2000);
}

void TMyMediaDB::exec(const char* sql)
{
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail(sql);
}

sqlite3_stmt* TMyMediaDB::prepare(const char* sql)
{
    if (!m_db)
        fail("the library is not open");
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK)
        fail(sql);
    return statement;
}

void TMyMediaDB::OpenDatabase(const QString& fileName)
{
    m_fileName = fileName;
    if (!QFile::exists(fileName)) {
        CreateMediaTable();
        return;
    }
    open();
    // A file that is not a database answers its first question with an error.
    sqlite3_stmt* probe = nullptr;
    const int outcome = sqlite3_prepare_v2(m_db, "SELECT count(*) FROM sqlite_master", -1, &probe,
                                           nullptr);
    const bool readable = outcome == SQLITE_OK && sqlite3_step(probe) == SQLITE_ROW;
    sqlite3_finalize(probe);
    if (!readable) {
        close();
        QString aside = fileName + QStringLiteral(".damaged");
        for (int n = 2; QFile::exists(aside); ++n)
            aside = fileName + QStringLiteral(".damaged%1").arg(n);
        if (!QFile::rename(fileName, aside))
            throw MediaDBError("the library file is damaged and cannot be moved aside");
        qWarning("Tavrin: the library file was damaged; it was kept as %s and a new one started",
                 qPrintable(aside));
        CreateMediaTable();
        return;
    }
    // An empty file, or a database without the table, gets the table.
    exec("CREATE TABLE IF NOT EXISTS tMedia (fDirectory TEXT, fFileName TEXT, fFileSize INTEGER, "
         "fTitle TEXT, fArtist TEXT, fAlbum TEXT, fGenre TEXT, fYear TEXT, fQuality INTEGER, "
         "fSeconds INTEGER)");
    exec("CREATE INDEX IF NOT EXISTS tMediaFile ON tMedia (LOWER(fDirectory), LOWER(fFileName))");
}

void TMyMediaDB::CreateMediaTable()
{
    close();
    QFile::remove(m_fileName);
    open();
    exec("CREATE TABLE tMedia (fDirectory TEXT, fFileName TEXT, fFileSize INTEGER, fTitle TEXT, "
         "fArtist TEXT, fAlbum TEXT, fGenre TEXT, fYear TEXT, fQuality INTEGER, fSeconds INTEGER)");
    // The lookup by folder and file name runs once per file of every scan.
    exec("CREATE INDEX tMediaFile ON tMedia (LOWER(fDirectory), LOWER(fFileName))");
}

void TMyMediaDB::BeginBatch()
{
    if (m_batchDepth++ == 0)
        exec("BEGIN");
}

void TMyMediaDB::EndBatch()
{
    if (m_batchDepth > 0 && --m_batchDepth == 0)
        exec("COMMIT");
}

std::vector<MediaRecord> TMyMediaDB::records(sqlite3_stmt* statement)
{
    std::vector<MediaRecord> found;
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW) {
        MediaRecord r;
        r.fDirectory = columnText(statement, 0);
        r.fFileName = columnText(statement, 1);
        r.fFileSize = sqlite3_column_int(statement, 2);
        r.fTitle = columnText(statement, 3);
        r.fArtist = columnText(statement, 4);
        r.fAlbum = columnText(statement, 5);
        r.fGenre = columnText(statement, 6);
        r.fYear = columnText(statement, 7);
        r.fQuality = sqlite3_column_int(statement, 8);
        r.fSeconds = sqlite3_column_int(statement, 9);
        found.push_back(std::move(r));
    }
    if (step != SQLITE_DONE)
        fail("reading the library");
    return found;
}

std::vector<MediaRecord> TMyMediaDB::FindMedia(const QString& folder, const QString& fileName)
{
    const Statement statement{prepare((std::string("SELECT * FROM tMedia") + kMatch).c_str())};
    bindText(statement, 1, LowerAscii(folder));
    bindText(statement, 2, LowerAscii(fileName));
    return records(statement);
}

std::vector<MediaRecord> TMyMediaDB::SelectAllMedia()
{
    const Statement statement{prepare("SELECT * FROM tMedia ORDER BY fTitle")};
    return records(statement);
}

QStringList TMyMediaDB::distinct(const char* field)
{
    const std::string sql = std::string("SELECT DISTINCT ") + field + " FROM tMedia ORDER BY " + field;
    const Statement statement{prepare(sql.c_str())};
    QStringList values;
    int step;
    while ((step = sqlite3_step(statement)) == SQLITE_ROW)
        values << columnText(statement, 0);
    if (step != SQLITE_DONE)
        fail("reading the library");
    return values;
}

QStringList TMyMediaDB::SelectArtists()
{
    return distinct("fArtist");
}

QStringList TMyMediaDB::SelectAlbums()
{
    return distinct("fAlbum");
}

QStringList TMyMediaDB::SelectGenres()
{
    return distinct("fGenre");
}

bool TMyMediaDB::AddMedia(const MediaRecord& r)
{
    if (!FindMedia(r.fDirectory, r.fFileName).empty())
        return false;
    const Statement statement{prepare("INSERT INTO tMedia VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10)")};
    bindText(statement, 1, cut(r.fDirectory, "fDirectory"));
    bindText(statement, 2, cut(r.fFileName, "fFileName"));
    sqlite3_bind_int(statement, 3, r.fFileSize);
    bindText(statement, 4, cut(r.fTitle, "fTitle"));
    bindText(statement, 5, cut(r.fArtist, "fArtist"));
    bindText(statement, 6, cut(r.fAlbum, "fAlbum"));
    bindText(statement, 7, cut(r.fGenre, "fGenre"));
    bindText(statement, 8, cut(r.fYear, "fYear"));
    sqlite3_bind_int(statement, 9, r.fQuality);
    sqlite3_bind_int(statement, 10, r.fSeconds);
    if (sqlite3_step(statement) != SQLITE_DONE)
        fail("adding to the library");
    return true;
}

void TMyMediaDB::DeleteMedia(const QString& folder, const QString& fileName)
{
    const Statement statement{prepare((std::string("DELETE FROM tMedia") + kMatch).c_str())};
    bindText(statement, 1, LowerAscii(folder));
    bindText(statement, 2, LowerAscii(fileName));
    if (sqlite3_step(statement) != SQLITE_DONE)
        fail("deleting from the library");
}

void TMyMediaDB::UpdateMediaField(const QString& folder, const QString& fileName,
                                  const QString& field, const QString& value)
{
    // The field name becomes part of the statement, so only the table's text fields pass.
    const int width = FieldWidth(field);
    if (width == 0)
        throw MediaDBError("not a text field of the library: " + field.toStdString());
    const std::string sql = "UPDATE tMedia SET " + field.toStdString() + " = ?3" + kMatch;
    const Statement statement{prepare(sql.c_str())};
    bindText(statement, 1, LowerAscii(folder));
    bindText(statement, 2, LowerAscii(fileName));
    bindText(statement, 3, value.left(width));
    if (sqlite3_step(statement) != SQLITE_DONE)
        fail("updating the library");
}

void TMyMediaDB::UpdateMediaDetails(const QString& folder, const QString& fileName,
                                    const QString& title, const QString& artist,
                                    const QString& album, const QString& genre,
                                    const QString& year)
{
    const std::string sql = std::string("UPDATE tMedia SET fTitle = ?3, fArtist = ?4, fAlbum = ?5, "
                                        "fGenre = ?6, fYear = ?7") + kMatch;
    const Statement statement{prepare(sql.c_str())};
    bindText(statement, 1, LowerAscii(folder));
    bindText(statement, 2, LowerAscii(fileName));
    bindText(statement, 3, cut(title, "fTitle"));
    bindText(statement, 4, cut(artist, "fArtist"));
    bindText(statement, 5, cut(album, "fAlbum"));
    bindText(statement, 6, cut(genre, "fGenre"));
    bindText(statement, 7, cut(year, "fYear"));
    if (sqlite3_step(statement) != SQLITE_DONE)
        fail("updating the library");
}
