#pragma once
// One pyxa-cli command: its name, help and the work it does.

#include "Args.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace pyxa::cli {

enum TExitCode : int {
    ecSuccess = 0,
    ecItemsFailed = 1,  // some items failed or errors were found
    ecUsage = 2,        // usage errors and containers that cannot be read
};

struct TCliContext {
    std::ostream& Out;
    std::ostream& Err;
    bool Interactive = false;  // a person at a terminal can be asked for passwords
};

class TCommand {
public:
    virtual ~TCommand() = default;
    virtual std::string Name() const = 0;
    virtual std::string Summary() const = 0;
    // The synopsis after "pyxa-cli NAME", e.g. "[--json] ARCHIVE".
    virtual std::string Synopsis() const = 0;
    // What the command does, for "pyxa-cli NAME --help".
    virtual std::string Description() const = 0;
    virtual std::vector<TOptionDef> Options() const { return {}; }
    virtual int Execute(const TParsedArgs& args, TCliContext& context) = 0;

    std::string Help() const;
};

std::vector<std::unique_ptr<TCommand>> AllCommands();

}  // namespace pyxa::cli
