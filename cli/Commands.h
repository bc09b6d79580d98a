// The tool's subcommands; each takes the arguments after its name and returns the exit status:
// 0 done, 1 the work failed (a report error, an unreadable assay file), 2 usage error, 3 database error.
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
