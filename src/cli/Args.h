#pragma once
// Command-line arguments after the command name: options may stand anywhere, "--" ends them.

#include <map>
#include <string>
#include <vector>

namespace pyxa::cli {

struct TOptionDef {
    std::string Name;      // without the leading "--"
    bool TakesValue = false;
    std::string ValueName; // shown in help, e.g. "DIR"
    std::string Help;
};

struct TParsedArgs {
    std::map<std::string, std::string> Values;  // options with a value
    std::vector<std::string> Flags;             // options without one
    std::vector<std::string> Positionals;
    std::string Error;                          // not empty when the arguments are unusable

    bool Has(const std::string& name) const;
    std::string Value(const std::string& name) const;
};

TParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<TOptionDef>& definitions);

}  // namespace pyxa::cli
