#include "Cli.h"

#include "Command.h"

#include <exception>

namespace pyxa::cli {

namespace {

void PrintOverview(std::ostream& out, const std::vector<std::unique_ptr<TCommand>>& commands)
{
    out << "pyxa-cli - the Pyxa file packer for scripts and the terminal\n\n"
           "usage: pyxa-cli COMMAND [ARGUMENTS]\n"
           "       pyxa-cli COMMAND --help\n\n"
           "commands:\n";
    for (const auto& command : commands) {
        const std::string name = command->Name();
        out << "  " << name << std::string(name.size() < 10 ? 10 - name.size() : 1, ' ') << command->Summary()
            << '\n';
    }
    out << "\nOptions may stand anywhere after the command name; \"--\" ends them.\n"
           "Exit status: 0 success, 1 when items failed or errors were found, 2 for usage errors\n"
           "and containers that cannot be read.\n";
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, bool interactive)
{
    const std::vector<std::unique_ptr<TCommand>> commands = AllCommands();
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintOverview(args.empty() ? err : out, commands);
        return args.empty() ? ecUsage : ecSuccess;
    }
    for (const auto& command : commands) {
        if (command->Name() != args[0])
            continue;
        const std::vector<std::string> rest(args.begin() + 1, args.end());
        std::vector<TOptionDef> definitions = command->Options();
        definitions.push_back({"help", false, "", "show this help"});
        const TParsedArgs parsed = ParseArgs(rest, definitions);
        if (parsed.Has("help")) {
            out << command->Help();
            return ecSuccess;
        }
        if (!parsed.Error.empty()) {
            err << "pyxa-cli " << command->Name() << ": " << parsed.Error << '\n';
            return ecUsage;
        }
        TCliContext context {out, err, interactive};
        try {
            return command->Execute(parsed, context);
        } catch (const std::exception& error) {
            err << "pyxa-cli " << command->Name() << ": " << error.what() << '\n';
            return ecItemsFailed;
        }
    }
    err << "pyxa-cli: unknown command \"" << args[0] << "\"; see pyxa-cli --help\n";
    return ecUsage;
}

}  // namespace pyxa::cli
