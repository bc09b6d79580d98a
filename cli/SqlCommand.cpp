// atmocalc sql: a query through the plug-in's own database layer, so that support staff see the host's
// database as the plug-in sees it (its LIKE, fold, lower, upper, title, unaccent and NOCASE).
#include "Commands.h"
#include "platform/text/Json.h"
#include "assay/Database.h"
#include "platform/system/Console.h"
#include "platform/text/Utf.h"

#include <cstdio>
#include <memory>
#include <sqlite3.h>

namespace {

std::string Hex(const void* data, int size) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (int i = 0; i < size; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

std::string RowJson(sqlite3_stmt* statement) {
    JsonWriter json;
    json.BeginArray();
    for (int c = 0; c < sqlite3_column_count(statement); ++c) {
        switch (sqlite3_column_type(statement, c)) {
        case SQLITE_INTEGER:
            json.Value(static_cast<int64_t>(sqlite3_column_int64(statement, c)));
            break;
        case SQLITE_FLOAT:
            json.Value(sqlite3_column_double(statement, c));
            break;
        case SQLITE_TEXT: {
            const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(statement, c));
            json.Value(std::u16string_view(text, sqlite3_column_bytes16(statement, c) / 2));
            break;
        }
        case SQLITE_BLOB:
            json.Value(Hex(sqlite3_column_blob(statement, c), sqlite3_column_bytes(statement, c)));
            break;
        default:
            json.Null();
        }
    }
    json.EndArray();
    return json.Text();
}

int Run(const ParsedOptions& options) {
    DatabaseGuard db(OpenDatabase(Utf8ToUtf16(options.Text("--db")), DatabaseAccess::ReadOnly));
    // The query is a plain text: a "%" in it stays as it stands.
    std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)> statement(
        PrepareStatement(db.get(), u"%s", Utf8ToUtf16(options.positionals[0])), &sqlite3_finalize);
    // White space and comments prepare to no statement at all: nothing to run.
    if (!statement)
        throw UsageError("в ЗАПРОСе нет оператора SQL");
    // The connection is read-only anyway; a statement that would write is refused before it runs, so the
    // answer names the cause rather than SQLite's "readonly database".
    if (!sqlite3_stmt_readonly(statement.get()))
        throw UsageError("запрос изменяет базу данных, а atmocalc sql только читает её");
    int rc;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW)
        PrintText(stdout, "%s\n", RowJson(statement.get()).c_str());
    if (rc != SQLITE_DONE)
        throw DataBase::SqlException(sqlite3_errstr(rc), rc, sqlite3_sql(statement.get()));
    return kExitDone;
}

} // namespace

Command SqlCommand() {
    return {{"sql",
             "Выполняет запрос на чтение через слой базы данных модуля и печатает каждую строку как "
             "массив JSON. База данных открывается только для чтения; запрос, который изменяет её, не "
             "выполняется.",
             {"ЗАПРОС"},
             {{"--db", OptionKind::Text, "ФАЙЛ", "база данных хоста (SQLite)", true}}},
            &Run};
}
