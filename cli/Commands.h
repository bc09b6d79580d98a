// The tool's subcommands; each takes the arguments after its name and returns the exit status:
// 0 done (calc whatever its messages say), 1 the work failed (report: no report written; assay: the file
// not read), 2 usage error, 3 database error. Every failure is told on standard error with its file.
#pragma once

#include "Options.h"

#include <string>
#include <vector>

inline constexpr int kExitDone = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitDatabase = 3;

struct Command {
    CommandSpec declaration;
    int (*run)(const ParsedOptions& options);
};

Command CalcCommand();
Command ReportCommand();
Command AssayCommand();
Command SqlCommand();
Command DemoCommand();
Command QcCommand();
