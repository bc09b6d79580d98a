#include "HostTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>
#include <sqlite3.h>

void MakeAssayDatabase(const QString& path, const std::vector<AssayTableRow>& rows) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    ASSERT_EQ(
        sqlite3_exec(db,
                     "CREATE TABLE assay (id INTEGER PRIMARY KEY, filename TEXT, sample TEXT, mixture TEXT, "
                     "date INTEGER, iscalibration INTEGER, isdeleted INTEGER, ishidden INTEGER);",
                     nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_stmt* insert = nullptr;
    ASSERT_EQ(
        sqlite3_prepare_v2(db, "INSERT INTO assay VALUES (?, ?, ?, ?, ?, ?, ?, ?);", -1, &insert, nullptr),
        SQLITE_OK);
    for (const AssayTableRow& r : rows) {
        const QByteArray file = r.filename.toUtf8(), sample = r.sample.toUtf8(), mixture = r.mixture.toUtf8();
        sqlite3_bind_int64(insert, 1, r.id);
        sqlite3_bind_text(insert, 2, file.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, sample.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, mixture.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_int64(insert, 5, r.date);
        sqlite3_bind_int(insert, 6, r.iscalibration);
        sqlite3_bind_int(insert, 7, r.isdeleted);
        sqlite3_bind_int(insert, 8, r.ishidden);
        EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_close(db);
}

void WriteTestFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

std::vector<AssayTableRow> MixedAssayRows() {
    return {
        {1, "/data/a1.vlt", "Проба 1 с патроном", "Воздух", 1700000000, 0, 0, 0},
        {2, "/data/a2.vlt", "Проба 1 без патрона", "Воздух", 1700003600, 0, 0, 0},
        {3, "/data/a3.vlt", "удалённая", "Воздух", 1700007200, 0, 1, 0},
        {4, "/data/a4.vlt", "скрытая", "Воздух", 1700010800, 0, 0, 1},
        {5, "/data/g5.vlt", "Градуировка метан", "ПГС метан", 1699990000, 1, 0, 0},
    };
}

HostOptions OptionsIn(const QTemporaryDir& folder) {
    HostOptions options;
    options.pluginPath = QStringLiteral(ATMOCALC_PLUGIN_PATH);
    options.databasePath = folder.filePath(QStringLiteral("host.db"));
    options.profilePath = folder.filePath(QStringLiteral("profile.json"));
    if (!QFile::exists(options.databasePath))
        MakeAssayDatabase(options.databasePath, MixedAssayRows());
    return options;
}

void AnswerModal(const std::function<void()>& call, const std::function<void(QWidget*)>& answer) {
    QTimer poll;
    QElapsedTimer waited;
    bool answered = false;
    waited.start();
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal && waited.elapsed() < 5000)
            return;
        poll.stop();
        answered = true;
        answer(modal);
        if (modal && modal->isVisible())
            modal->close();
    });
    poll.start(10);
    call();
    poll.stop();
    if (!answered)
        answer(nullptr);
}
