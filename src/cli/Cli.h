#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace pyxa::cli {

// Runs pyxa-cli with the arguments after the program name; returns the exit status.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace pyxa::cli
