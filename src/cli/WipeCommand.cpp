#include "Command.h"
#include "Session.h"
#include "codecs/WipeCommands.h"

namespace pyxa::cli {

namespace {

class WipeCommand : public TCommand {
public:
    std::string Name() const override { return "wipe"; }
    std::string Summary() const override { return "overwrite files three times, then delete them"; }
    std::string Synopsis() const override { return "FILE..."; }
    std::string Description() const override
    {
        return "Overwrites each FILE three times with random patterns, flushing each pass to the disk,\n"
               "then deletes it. Files held locked by another program, links and folders are left alone.\n"
               "Exit status 1 when a file could not be wiped.";
    }

    int Execute(const TParsedArgs& args, TCliContext& context) override
    {
        if (args.Positionals.empty()) {
            context.Err << "usage: pyxa-cli wipe " << Synopsis() << '\n';
            return ecUsage;
        }
        TSession session(context);
        session.Host.ConfirmQuestions = true;
        std::vector<std::filesystem::path> files(args.Positionals.begin(), args.Positionals.end());
        const TWipeRun run = WipeChosenFiles(session.Host, files, {});
        session.PrintStatus();
        return run.Wiped == static_cast<int>(files.size()) ? ecSuccess : ecItemsFailed;
    }
};

}  // namespace

std::unique_ptr<TCommand> MakeWipeCommand()
{
    return std::make_unique<WipeCommand>();
}

}  // namespace pyxa::cli
