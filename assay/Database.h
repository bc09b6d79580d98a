// The plug-in's thin layer over the host's SQLite database: opening a connection with the Unicode
// text functions and collation registered, preparing statements, the assay lookup, and the one
// exception type that reports every database failure.
#pragma once

#include "platform/text/Format.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace DataBase {

class SqlException : public std::runtime_error {
public:
    SqlException(const std::string& message, int code, std::string sql)
        : std::runtime_error(message), code(code), sql(std::move(sql)) {}
    int code;         // SQLite result code of the failing call
    std::string sql;  // SQL text of the failing statement (UTF-8); empty when there is none
};

} // namespace DataBase

enum class DatabaseAccess {
    ReadWriteCreate, // the plug-in's: the file is created when absent
    ReadOnly,        // the tool's: a missing file is an error, and nothing is created or changed
};

// An open connection to the file (an empty path opens a private temporary database) with foreign keys
// on, the Unicode text functions and the NOCASE collation of SqlFunctions.h registered, and a wait of up
// to 5 seconds for another connection's lock before a statement fails with SQLITE_BUSY. Throws
// DataBase::SqlException with the connection's message.
sqlite3* OpenDatabase(const std::u16string& path, DatabaseAccess access = DatabaseAccess::ReadWriteCreate);
// Closes the connection; never throws; null is ignored.
void CloseDatabase(sqlite3* connection) noexcept;

// Closes a connection when it goes out of scope, also when an exception leaves a batch.
class DatabaseGuard {
public:
    explicit DatabaseGuard(sqlite3* connection) : connection(connection) {}
    ~DatabaseGuard() { CloseDatabase(connection); }
    DatabaseGuard(const DatabaseGuard&) = delete;
    DatabaseGuard& operator=(const DatabaseGuard&) = delete;
    sqlite3* get() const { return connection; }

private:
    sqlite3* connection;
};

// Prepares the text with SQLite's UTF-16 prepare call; throws DataBase::SqlException with the
// connection's message. The caller finalises the statement; null for a text without a statement.
sqlite3_stmt* PrepareStatementText(sqlite3* connection, const std::u16string& sql);

// Formats the printf-style text with the arguments, then prepares it as above.
template <typename... Args>
sqlite3_stmt* PrepareStatement(sqlite3* connection, std::u16string_view format, const Args&... args) {
    return PrepareStatementText(connection, FormatText(format, args...));
}

// The statement text of the assay lookup.
inline constexpr char16_t kAssayLookupSql[] =
    u"SELECT filename, sample, mixture, date, iscalibration FROM [assay] WHERE assay.id = ? AND isdeleted = 0 AND ishidden = 0;";

// What the assay lookup reads for one id; all empty / 0 / false when no row was found.
struct AssayRow {
    std::u16string fileName;
    std::u16string sample;
    std::u16string mixture;
    int64_t date = 0;          // seconds since 1970 UTC
    bool isCalibration = false;
};

// Runs the assay lookup for the id on the connection; a later row overwrites an earlier one.
// Throws DataBase::SqlException; the statement is finalised on every path.
AssayRow LookupAssay(sqlite3* connection, uint32_t assayId);

// The statement text of the assay listing.
inline constexpr char16_t kAssayListSql[] =
    u"SELECT id, filename, sample, mixture, date, iscalibration FROM [assay] WHERE isdeleted = 0 AND ishidden = 0 ORDER BY date, id;";

struct ListedAssay {
    uint32_t id = 0;
    AssayRow row;
};

// Every assay the lookup finds (neither deleted nor hidden), by analysis time, then id; rows whose id
// is no 32-bit assay id are left out. Throws DataBase::SqlException; the statement is finalised on
// every path.
std::vector<ListedAssay> ListAssays(sqlite3* connection);
