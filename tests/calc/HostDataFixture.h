// A host database in a temporary folder, with the assay files its rows name.
#pragma once

#include "assay/Database.h"
#include "assay/VeltraFile4.h"
#include "platform/text/Utf.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

// A temporary folder with a host database holding an `assay` table and the assay files its rows name.
class HostData : public ::testing::Test {
protected:
    void SetUp() override {
        folder = ScratchFolder::Native(scratch.Path());
        connection = OpenDatabase((folder / "host.db").u16string());
        Execute(
            "CREATE TABLE assay (id INTEGER PRIMARY KEY, filename TEXT, sample TEXT, mixture TEXT, "
            "date INTEGER, iscalibration INTEGER, isdeleted INTEGER DEFAULT 0, ishidden INTEGER DEFAULT 0);");
    }
    void TearDown() override { CloseDatabase(connection); }

    void Execute(const std::string& sql) {
        char* error = nullptr;
        ASSERT_EQ(sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << error;
    }

    // Inserts a row; the texts go in through bindings, so any of them may hold quotes.
    void InsertAssay(int64_t id, const std::u16string& fileName, const std::u16string& sample,
                     const std::u16string& mixture = u"", int64_t date = 0, int iscalibration = 0,
                     int isdeleted = 0, int ishidden = 0) {
        sqlite3_stmt* statement = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(connection,
                                     "INSERT INTO assay (id, filename, sample, mixture, date, iscalibration, "
                                     "isdeleted, ishidden) VALUES (?, ?, ?, ?, ?, ?, ?, ?);",
                                     -1, &statement, nullptr),
                  SQLITE_OK);
        sqlite3_bind_int64(statement, 1, id);
        sqlite3_bind_text16(statement, 2, fileName.data(), int(fileName.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_text16(statement, 3, sample.data(), int(sample.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_text16(statement, 4, mixture.data(), int(mixture.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_int64(statement, 5, date);
        sqlite3_bind_int(statement, 6, iscalibration);
        sqlite3_bind_int(statement, 7, isdeleted);
        sqlite3_bind_int(statement, 8, ishidden);
        EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE);
        sqlite3_finalize(statement);
    }

    // Writes an assay file with one channel per peak list; returns its full path.
    std::u16string WriteAssay(const std::string& name, const std::vector<std::vector<AssayPeak>>& channels) {
        CVeltraFile4 file;
        uint32_t number = 0;
        for (const auto& peaks : channels) {
            AssayChannel& channel = file.channels.emplace_back();
            channel.number = number++;
            channel.samples.assign(64, 0x01000000u + number);
            channel.peaks = peaks;
        }
        const std::u16string path = (folder / name).u16string();
        EXPECT_EQ(file.SaveToFile(path), 0);
        return path;
    }

    ScratchFolder scratch;
    std::filesystem::path folder;
    sqlite3* connection = nullptr;
};
