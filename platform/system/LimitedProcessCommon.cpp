#include "LimitedProcess.h"

ProcessOutcome RunLimitedProcess(const std::string& program, std::string_view input,
                                 const ProcessLimits& limits) {
    LimitedProcess process;
    if (const int error = process.Start(program))
        return {ProcessOutcome::NotStarted, error, {}};
    return process.Run(input, limits);
}
