#pragma once
// Runs pyxa-cli in-process with captured output.

#include "Cli.h"

#include <sstream>
#include <string>
#include <vector>

namespace pyxa::test {

struct CliRun {
    int Status = 0;
    std::string Out;
    std::string Err;
};

inline CliRun RunCli(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.Status = cli::RunCli(args, out, err, false);
    run.Out = out.str();
    run.Err = err.str();
    return run;
}

}  // namespace pyxa::test
