#pragma once
// The engine objects of one pyxa-cli run: the terminal host, the container state and its
// working folder, which is removed again when the run ends.

#include "CliHost.h"
#include "Command.h"
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

    TCliContext& Context;
    CliHost Host;
    TContainer Container;
};

}  // namespace pyxa::cli
