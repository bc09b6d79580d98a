#include "AssayCatalog.h"

#include "platform/text/Utf.h"

#include <sqlite3.h>

namespace {

std::u16string ColumnText(sqlite3_stmt* statement, int column) {
    const void* text = sqlite3_column_text16(statement, column);
    return text ? std::u16string(static_cast<const char16_t*>(text)) : std::u16string();
}

} // namespace

bool ReadAssayList(const std::u16string& databasePath, std::vector<AssayListRow>& rows, std::u16string& error) {
    rows.clear();
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_open_v2(Utf16ToUtf8(databasePath).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_prepare_v2(db,
                                "SELECT id, filename, sample, mixture, date, iscalibration FROM [assay] "
                                "WHERE isdeleted = 0 AND ishidden = 0 ORDER BY id;",
                                -1, &statement, nullptr);
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        rc = sqlite3_step(statement);
        if (rc != SQLITE_ROW)
            break;
        const sqlite3_int64 id = sqlite3_column_int64(statement, 0);
        if (id < 0 || id > UINT32_MAX)
            continue;
        rows.push_back({static_cast<uint32_t>(id), ColumnText(statement, 1), ColumnText(statement, 2),
                        ColumnText(statement, 3), sqlite3_column_int64(statement, 4),
                        sqlite3_column_int64(statement, 5) != 0});
    }
    if (rc != SQLITE_DONE) {
        error = Utf8ToUtf16(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        rows.clear();
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rc == SQLITE_DONE;
}
