#include "ToolRunner.h"

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

ToolRun RunTool(const std::vector<std::string>& args, const std::map<std::string, std::string>& environment) {
    return RunProgram(ATMOCALC_TOOL_PATH, args, environment);
}

ToolRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                   const std::map<std::string, std::string>& environment) {
    const auto dir = std::filesystem::temp_directory_path();
    const std::string outPath = dir / ("atmocalc-out-" + std::to_string(getpid()));
    const std::string errPath = dir / ("atmocalc-err-" + std::to_string(getpid()));
    const pid_t child = fork();
    if (child == 0) {
        const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, 1);
        dup2(err, 2);
        for (const auto& [name, value] : environment) {
            if (value.empty())
                unsetenv(name.c_str());
            else
                setenv(name.c_str(), value.c_str(), 1);
        }
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ToolRun run;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = ReadAll(outPath);
    run.err = ReadAll(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return run;
}
