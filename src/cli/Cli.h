#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace pyxa::cli {

// Runs pyxa-cli with the arguments after the program name; returns the exit status.
// Interactive: a person at a terminal can answer password prompts and watch a progress line.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool interactive = false);

}  // namespace pyxa::cli
