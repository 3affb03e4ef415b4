#pragma once
// The engine objects of one pyxa-cli run: the terminal host, the container state and its
// working folder, which is removed again when the run ends.

#include "CliHost.h"
#include "Command.h"
#include "Password.h"
#include "container/Container.h"

#include <filesystem>

namespace pyxa::cli {

class TSession {
public:
    explicit TSession(TCliContext& context);
    ~TSession();
    TSession(const TSession&) = delete;
    TSession& operator=(const TSession&) = delete;

    // Opens a container; on failure prints its message and returns false.
    bool Open(const std::filesystem::path& archive);
    // Saves the catalogue to the open container, or to archive for a new one; prints a failure.
    bool Save(const std::filesystem::path& archive);
    // Takes the run's password from the options; false (with a message) when a named source is unusable.
    bool SetUpPasswords(const TParsedArgs& args);
    // The status text of the last operation, on standard output.
    void PrintStatus();

    TCliContext& Context;
    CliHost Host;
    TContainer Container;
    std::optional<std::string> GivenPassword;
};

}  // namespace pyxa::cli
