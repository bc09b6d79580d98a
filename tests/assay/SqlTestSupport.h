// Helpers for the database tests: a temporary folder for database files, running SQL scripts and
// reading query results through the database layer.
#pragma once

#include "support/ScratchFolder.h"

#include "TempFolder.h"
#include "assay/Database.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <vector>

// Runs the statements with SQLite directly, so that fixtures do not depend on the layer under test.
inline void Execute(sqlite3* connection, const std::string& script) {
    char* error = nullptr;
    const int code = sqlite3_exec(connection, script.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(code, SQLITE_OK) << (error ? error : "") << "\n" << script;
    sqlite3_free(error);
}

// Makes the database file by running the script on a fresh file.
inline void MakeDatabase(const std::filesystem::path& file, const std::string& script) {
    sqlite3* connection = nullptr;
    ASSERT_EQ(sqlite3_open(ScratchFolder::Utf8(file).c_str(), &connection), SQLITE_OK);
    Execute(connection, script);
    sqlite3_close(connection);
}

// The first column of every row, NULL as nullopt; a failed step throws DataBase::SqlException with the
// connection's message (the text a failing SQL function sets).
inline std::vector<std::optional<std::u16string>> QueryColumn(sqlite3* connection,
                                                              const std::u16string& sql) {
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(
        PrepareStatementText(connection, sql), sqlite3_finalize);
    std::vector<std::optional<std::u16string>> values;
    int code;
    while ((code = sqlite3_step(statement.get())) == SQLITE_ROW) {
        const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(statement.get(), 0));
        if (text)
            values.emplace_back(std::u16string(text, sqlite3_column_bytes16(statement.get(), 0) / 2));
        else
            values.emplace_back(std::nullopt);
    }
    if (code != SQLITE_DONE)
        throw DataBase::SqlException(sqlite3_errmsg(connection), code, {});
    return values;
}

// The first column of the one row the query gives.
inline std::optional<std::u16string> QueryValue(sqlite3* connection, const std::u16string& sql) {
    const auto values = QueryColumn(connection, sql);
    EXPECT_EQ(values.size(), 1u) << "rows of the query";
    return values.empty() ? std::nullopt : values.front();
}
