// Fixtures of the host's tests: a host database made in a temporary folder, options pointing into it,
// and a way to answer the modal window a call is about to open.
#pragma once

#include "hostapp/HostOptions.h"

#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <functional>
#include <vector>

class QWidget;

struct AssayTableRow {
    int64_t id;
    QString filename;
    QString sample;
    QString mixture;
    int64_t date;
    int iscalibration;
    int isdeleted;
    int ishidden;
};

// A database with the host's `assay` table holding the rows.
void MakeAssayDatabase(const QString& path, const std::vector<AssayTableRow>& rows);

// A file holding exactly the bytes (a damaged database, a broken module, ...).
void WriteTestFile(const QString& path, const QByteArray& bytes);

// Three visible assays (ids 1, 2, 5; 5 is a calibration), one deleted (3) and one hidden (4).
std::vector<AssayTableRow> MixedAssayRows();

// Options for a host in the folder: the real plug-in, a database "host.db" made with MixedAssayRows,
// the profile "profile.json".
HostOptions OptionsIn(const QTemporaryDir& folder);

// Runs `answer` on the modal window once `call` has opened one, then finishes `call`; the window
// is given as it was found (null when none opened within a few seconds).
void AnswerModal(const std::function<void()>& call, const std::function<void(QWidget*)>& answer);
