// Runs the built atmocalc program and captures its exit status, standard output and standard error.
#pragma once

#include <map>
#include <string>
#include <vector>

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs build/bin/atmocalc with the arguments; `environment` entries are set (an empty value unsets).
ToolRun RunTool(const std::vector<std::string>& args, const std::map<std::string, std::string>& environment = {});
// The same with another copy of the program.
ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::map<std::string, std::string>& environment = {});
