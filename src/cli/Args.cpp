#include "Args.h"

#include <algorithm>

namespace pyxa::cli {

bool TParsedArgs::Has(const std::string& name) const
{
    return Values.count(name) > 0 || std::find(Flags.begin(), Flags.end(), name) != Flags.end();
}

std::string TParsedArgs::Value(const std::string& name) const
{
    const auto it = Values.find(name);
    return it == Values.end() ? std::string() : it->second;
}

namespace {

const TOptionDef* FindOption(const std::vector<TOptionDef>& definitions, const std::string& name)
{
    for (const TOptionDef& definition : definitions) {
        if (definition.Name == name)
            return &definition;
    }
    return nullptr;
}

}  // namespace

TParsedArgs ParseArgs(const std::vector<std::string>& args, const std::vector<TOptionDef>& definitions)
{
    TParsedArgs parsed;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            if (arg == "--")
                optionsEnded = true;
            else
                parsed.Positionals.push_back(arg);
            continue;
        }
        const size_t equals = arg.find('=');
        const std::string name = arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
        const TOptionDef* definition = FindOption(definitions, name);
        if (!definition) {
            parsed.Error = "unknown option --" + name;
            return parsed;
        }
        if (!definition->TakesValue) {
            if (equals != std::string::npos) {
                parsed.Error = "option --" + name + " takes no value";
                return parsed;
            }
            parsed.Flags.push_back(name);
            continue;
        }
        if (equals != std::string::npos) {
            parsed.Values[name] = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            parsed.Values[name] = args[++i];
        } else {
            parsed.Error = "option --" + name + " needs a value";
            return parsed;
        }
    }
    return parsed;
}

}  // namespace pyxa::cli
