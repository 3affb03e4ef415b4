#pragma once
// Passwords of a pyxa-cli run: from an environment variable, a file, or a prompt without echo on
// the terminal; never from the command line itself.

#include "Args.h"
#include "CliHost.h"

#include <optional>
#include <string>
#include <vector>

namespace pyxa::cli {

// The options that name a password source.
std::vector<TOptionDef> PasswordOptions();
// A command's own options, then --verbose and the password options.
std::vector<TOptionDef> WithVerboseAndPasswordOptions(std::vector<TOptionDef> options);

struct TPasswordSetup {
    std::optional<std::string> Given;  // from --password-env or --password-file
    std::string Error;                 // not empty when the named source is unusable
};

TPasswordSetup ReadGivenPassword(const TParsedArgs& args);
// Makes the host answer password requests from the given password, else from a terminal prompt.
void InstallPasswordSource(CliHost& host, const TPasswordSetup& setup, bool interactive);

}  // namespace pyxa::cli
