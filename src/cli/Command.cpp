#include "Command.h"

#include "Commands.h"

#include <sstream>

namespace pyxa::cli {

std::string TCommand::Help() const
{
    std::ostringstream help;
    help << "usage: pyxa-cli " << Name() << ' ' << Synopsis() << "\n\n" << Description() << '\n';
    const std::vector<TOptionDef> options = Options();
    if (!options.empty()) {
        help << "\noptions:\n";
        for (const TOptionDef& option : options) {
            std::string name = "--" + option.Name;
            if (option.TakesValue)
                name += " " + option.ValueName;
            help << "  " << name << std::string(name.size() < 24 ? 24 - name.size() : 1, ' ') << option.Help << '\n';
        }
    }
    return help.str();
}

std::vector<std::unique_ptr<TCommand>> AllCommands()
{
    std::vector<std::unique_ptr<TCommand>> commands;
    commands.push_back(MakeCreateCommand());
    commands.push_back(MakeAddCommand());
    commands.push_back(MakeExtractCommand());
    commands.push_back(MakeTestCommand());
    commands.push_back(MakeEncryptCommand());
    commands.push_back(MakeDecryptCommand());
    commands.push_back(MakeWipeCommand());
    commands.push_back(MakeListCommand());
    commands.push_back(MakeInfoCommand());
    return commands;
}

}  // namespace pyxa::cli
