#include "assay/Database.h"
#include "SqlTestSupport.h"
#include "platform/text/Utf.h"

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace {

const std::string kAssaySchema =
    "CREATE TABLE assay(id INTEGER PRIMARY KEY, filename TEXT, sample TEXT, mixture TEXT, date INTEGER, "
    "iscalibration INTEGER, isdeleted INTEGER NOT NULL DEFAULT 0, ishidden INTEGER NOT NULL DEFAULT 0);";

class Database : public ::testing::Test {
protected:
    std::u16string MakeHostDatabase(const std::string& rows) {
        const auto file = folder.path / "host.db";
        MakeDatabase(file, kAssaySchema + rows);
        return file.u16string();
    }

    TempFolder folder;
};

void ExpectEmpty(const AssayRow& row) {
    EXPECT_EQ(row.fileName, u"");
    EXPECT_EQ(row.sample, u"");
    EXPECT_EQ(row.mixture, u"");
    EXPECT_EQ(row.date, 0);
    EXPECT_FALSE(row.isCalibration);
}

} // namespace

TEST_F(Database, LookupReadsTheRowOfTheId) {
    const DatabaseGuard guard(OpenDatabase(MakeHostDatabase(
        "INSERT INTO assay VALUES (1, '/data/Veltra4/a1.stg', 'Градуировка 1', 'ПГС метан 10', 1700000000, "
        "1, 0, 0);"
        "INSERT INTO assay VALUES (2, '/data/Veltra4/a2.stg', 'воздух с/п', '', 1700000100, 0, 0, 0);")));
    const AssayRow row = LookupAssay(guard.get(), 1);
    EXPECT_EQ(row.fileName, u"/data/Veltra4/a1.stg");
    EXPECT_EQ(row.sample, u"Градуировка 1");
    EXPECT_EQ(row.mixture, u"ПГС метан 10");
    EXPECT_EQ(row.date, 1700000000);
    EXPECT_TRUE(row.isCalibration);
    EXPECT_EQ(LookupAssay(guard.get(), 2).sample, u"воздух с/п");
    EXPECT_FALSE(LookupAssay(guard.get(), 2).isCalibration);
}

TEST_F(Database, MissingDeletedOrHiddenAssayGivesEmptyRowWithoutException) {
    const DatabaseGuard guard(OpenDatabase(MakeHostDatabase(
        "INSERT INTO assay VALUES (2, '/data/a2.stg', 'проба', 'смесь', 1700000100, 1, 1, 0);"
        "INSERT INTO assay VALUES (3, '/data/a3.stg', 'проба', 'смесь', 1700000200, 1, 0, 1);"
        "INSERT INTO assay VALUES (4, NULL, NULL, NULL, NULL, NULL, 0, 0);")));
    for (uint32_t id : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(id);
        ExpectEmpty(LookupAssay(guard.get(), id));
    }
}

TEST_F(Database, LaterRowOfTheSameIdOverwritesEarlierOne) {
    const auto file = folder.path / "duplicates.db";
    MakeDatabase(file,
                 "CREATE TABLE assay(id INTEGER, filename TEXT, sample TEXT, mixture TEXT, date INTEGER, "
                 "iscalibration INTEGER, isdeleted INTEGER, ishidden INTEGER);"
                 "INSERT INTO assay VALUES (9, 'first.stg', 'первая', 'a', 1, 1, 0, 0);"
                 "INSERT INTO assay VALUES (9, 'second.stg', 'вторая', NULL, 2, 0, 0, 0);");
    const DatabaseGuard guard(OpenDatabase(file.u16string()));
    const AssayRow row = LookupAssay(guard.get(), 9);
    EXPECT_EQ(row.fileName, u"second.stg");
    EXPECT_EQ(row.mixture, u"");
    EXPECT_EQ(row.date, 2);
    EXPECT_FALSE(row.isCalibration);
}

TEST_F(Database, IdAboveSignedRangeIsBoundAsPositiveInteger) {
    // -1294967296 is what 3000000000 would become as a signed 32-bit value.
    const DatabaseGuard guard(OpenDatabase(MakeHostDatabase(
        "INSERT INTO assay(id, filename) VALUES (3000000000, 'big.stg'), (-1294967296, 'wrapped.stg');")));
    EXPECT_EQ(LookupAssay(guard.get(), 3000000000u).fileName, u"big.stg");
    ExpectEmpty(LookupAssay(guard.get(), 4294967295u));
}

TEST_F(Database, OpensWithForeignKeysOn) {
    const DatabaseGuard guard(OpenDatabase(u""));
    EXPECT_EQ(QueryValue(guard.get(), u"PRAGMA foreign_keys;"), u"1");
}

TEST_F(Database, DatabaseWithoutAssayTableFailsAtPrepare) {
    const auto file = folder.path / "other.db";
    MakeDatabase(file, "CREATE TABLE samples(id INTEGER);");
    const DatabaseGuard guard(OpenDatabase(file.u16string()));
    try {
        LookupAssay(guard.get(), 1);
        FAIL() << "no exception";
    } catch (const DataBase::SqlException& e) {
        EXPECT_STREQ(e.what(), "no such table: assay");
        EXPECT_EQ(e.code, SQLITE_ERROR);
        EXPECT_EQ(e.sql, "");
    }
}

TEST_F(Database, AbsentPathOpensPrivateTemporaryDatabaseAndLookupFailsAtPrepare) {
    const DatabaseGuard guard(OpenDatabase(u""));
    ASSERT_NE(guard.get(), nullptr);
    try {
        LookupAssay(guard.get(), 1);
        FAIL() << "no exception";
    } catch (const DataBase::SqlException& e) {
        EXPECT_STREQ(e.what(), "no such table: assay");
        EXPECT_EQ(e.code, SQLITE_ERROR);
        EXPECT_EQ(e.sql, "");
    }
}

TEST_F(Database, OpenFailureCarriesTheConnectionsMessage) {
    try {
        CloseDatabase(OpenDatabase((folder.path / "нет такой папки" / "host.db").u16string()));
        FAIL() << "no exception";
    } catch (const DataBase::SqlException& e) {
        EXPECT_STREQ(e.what(), "unable to open database file");
        EXPECT_EQ(e.code, SQLITE_CANTOPEN);
        EXPECT_EQ(e.sql, "");
    }
}

TEST_F(Database, StepFailureOnCorruptFileCarriesErrorTextSqlAndCode) {
    const auto file = folder.path / "corrupt.db";
    std::string rows;
    for (int id = 1; id <= 50; ++id)
        rows += "INSERT INTO assay(id, filename) VALUES (" + std::to_string(id) + ", '" +
                std::string(200, 'f') + "');";
    MakeDatabase(file, "PRAGMA page_size = 1024;" + kAssaySchema + rows);
    {
        // Page 2 is the table's root; the schema on page 1 stays intact, so the prepare succeeds.
        std::fstream stream(file, std::ios::in | std::ios::out | std::ios::binary);
        stream.seekp(1024);
        const std::string garbage(1024, '\xFF');
        stream.write(garbage.data(), garbage.size());
    }
    const DatabaseGuard guard(OpenDatabase(file.u16string()));
    try {
        LookupAssay(guard.get(), 7);
        FAIL() << "no exception";
    } catch (const DataBase::SqlException& e) {
        EXPECT_EQ(e.code, SQLITE_CORRUPT);
        EXPECT_STREQ(e.what(), "database disk image is malformed");
        EXPECT_EQ(e.sql, Utf16ToUtf8(kAssayLookupSql));
    }
}

TEST_F(Database, ShortWriteLockOfAnotherConnectionIsWaitedFor) {
    const std::u16string path = MakeHostDatabase("INSERT INTO assay(id, sample) VALUES (7, 'до');");
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open16(path.c_str(), &writer), SQLITE_OK);
    const DatabaseGuard writerGuard(writer);
    Execute(writer, "BEGIN EXCLUSIVE; UPDATE assay SET sample = 'после' WHERE id = 7;");

    const DatabaseGuard guard(OpenDatabase(path));
    const std::jthread host([writer] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Execute(writer, "COMMIT;");
    });
    EXPECT_EQ(LookupAssay(guard.get(), 7).sample, u"после");
}

TEST_F(Database, LongWriteLockEndsInBusyException) {
    const std::u16string path = MakeHostDatabase("INSERT INTO assay(id, sample) VALUES (7, 'до');");
    const DatabaseGuard guard(OpenDatabase(path));
    ASSERT_EQ(LookupAssay(guard.get(), 7).sample, u"до"); // reads the schema before the lock
    sqlite3_busy_timeout(guard.get(), 50);                // keeps the test short

    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open16(path.c_str(), &writer), SQLITE_OK);
    const DatabaseGuard writerGuard(writer);
    Execute(writer, "BEGIN EXCLUSIVE;");
    try {
        LookupAssay(guard.get(), 7);
        FAIL() << "no exception";
    } catch (const DataBase::SqlException& e) {
        EXPECT_EQ(e.code, SQLITE_BUSY);
        EXPECT_STREQ(e.what(), "database is locked");
        EXPECT_EQ(e.sql, Utf16ToUtf8(kAssayLookupSql));
    }
    Execute(writer, "ROLLBACK;");
}

TEST_F(Database, GuardClosesConnectionWhenExceptionLeavesBatch) {
    const std::u16string path = MakeHostDatabase("INSERT INTO assay(id) VALUES (1);");
    try {
        const DatabaseGuard guard(OpenDatabase(path));
        Execute(guard.get(), "BEGIN EXCLUSIVE; DELETE FROM assay;");
        throw std::runtime_error("the batch fails");
    } catch (const std::runtime_error&) {
    }
    // Closing rolled the transaction back and released the lock: another connection reads at once.
    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open16(path.c_str(), &reader), SQLITE_OK);
    const DatabaseGuard readerGuard(reader);
    EXPECT_EQ(QueryValue(reader, u"SELECT count(*) FROM assay;"), u"1");
}
