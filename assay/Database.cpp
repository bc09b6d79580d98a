#include "assay/Database.h"

#include "assay/SqlFunctions.h"
#include "platform/text/Utf.h"

#include <memory>
#include <sqlite3.h>

namespace {

// The host writes its database while the user picks assays; without a timeout SQLite fails a read at
// once with SQLITE_BUSY. A few seconds outlast any short write, and a lock held longer still ends the
// lookup with the exception.
constexpr int kBusyTimeoutMilliseconds = 5000;

struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

DataBase::SqlException ConnectionError(sqlite3* connection, int code) {
    return DataBase::SqlException(sqlite3_errmsg(connection), code, {});
}

std::u16string ColumnText(sqlite3_stmt* statement, int column) {
    const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(statement, column));
    if (!text)
        return {};
    return {text, static_cast<size_t>(sqlite3_column_bytes16(statement, column)) / sizeof(char16_t)};
}

} // namespace

sqlite3* OpenDatabase(const std::u16string& path, DatabaseAccess access) {
    sqlite3* connection = nullptr;
    int code = access == DatabaseAccess::ReadOnly
                   ? sqlite3_open_v2(Utf16ToUtf8(path).c_str(), &connection, SQLITE_OPEN_READONLY, nullptr)
                   : sqlite3_open16(path.c_str(), &connection);
    if (code == SQLITE_OK)
        code = sqlite3_db_config(connection, SQLITE_DBCONFIG_ENABLE_FKEY, 1, nullptr);
    if (code == SQLITE_OK)
        code = RegisterTextFunctions(connection);
    if (code == SQLITE_OK)
        code = sqlite3_busy_timeout(connection, kBusyTimeoutMilliseconds);
    if (code != SQLITE_OK) {
        const DataBase::SqlException error = ConnectionError(connection, code);
        sqlite3_close(connection);
        throw error;
    }
    return connection;
}

void CloseDatabase(sqlite3* connection) noexcept {
    sqlite3_close(connection);
}

sqlite3_stmt* PrepareStatementText(sqlite3* connection, const std::u16string& sql) {
    sqlite3_stmt* statement = nullptr;
    const int code = sqlite3_prepare16_v2(connection, sql.c_str(), -1, &statement, nullptr);
    if (code != SQLITE_OK)
        throw ConnectionError(connection, code);
    return statement;
}

AssayRow LookupAssay(sqlite3* connection, uint32_t assayId) {
    const StatementHandle statement(PrepareStatement(connection, kAssayLookupSql));
    sqlite3_stmt* const s = statement.get();
    AssayRow row;
    // The id is unsigned: widened without sign, 3000000000 stays positive.
    int code = sqlite3_bind_int64(s, 1, static_cast<sqlite3_int64>(assayId));
    if (code == SQLITE_OK) {
        while ((code = sqlite3_step(s)) == SQLITE_ROW) {
            row.fileName = ColumnText(s, 0);
            row.sample = ColumnText(s, 1);
            row.mixture = ColumnText(s, 2);
            row.date = sqlite3_column_int64(s, 3);
            row.isCalibration = sqlite3_column_int64(s, 4) != 0;
        }
    }
    if (code != SQLITE_DONE)
        throw DataBase::SqlException(sqlite3_errstr(code), code, sqlite3_sql(s));
    return row;
}

std::vector<ListedAssay> ListAssays(sqlite3* connection) {
    const StatementHandle statement(PrepareStatement(connection, kAssayListSql));
    sqlite3_stmt* const s = statement.get();
    std::vector<ListedAssay> assays;
    int code;
    while ((code = sqlite3_step(s)) == SQLITE_ROW) {
        const sqlite3_int64 id = sqlite3_column_int64(s, 0);
        if (id < 0 || id > UINT32_MAX)
            continue;
        assays.push_back({static_cast<uint32_t>(id),
                          {ColumnText(s, 1), ColumnText(s, 2), ColumnText(s, 3), sqlite3_column_int64(s, 4),
                           sqlite3_column_int64(s, 5) != 0}});
    }
    if (code != SQLITE_DONE)
        throw DataBase::SqlException(sqlite3_errstr(code), code, sqlite3_sql(s));
    return assays;
}
