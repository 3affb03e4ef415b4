#include "CataloguePath.h"
#include "Command.h"
#include "Session.h"
#include "transfer/AddItems.h"

namespace pyxa::cli {

namespace {

namespace fs = std::filesystem;

class AddCommand : public TCommand {
public:
    std::string Name() const override { return "add"; }
    std::string Summary() const override { return "add files and folders, then save"; }
    std::string Synopsis() const override { return "ARCHIVE [--into PATH] SOURCE..."; }
    std::string Description() const override
    {
        return "Adds each SOURCE file, and each SOURCE folder with everything in it, to the container,\n"
               "then saves it. A missing ARCHIVE is created. Names that clash get \"Copy (n) of \" in front\n"
               "(files) or \" (n)\" appended (folders). Links to files are stored as the file; links to\n"
               "folders are skipped. With a password source every added file is encrypted with it.";
    }
    std::vector<TOptionDef> Options() const override
    {
        return WithVerboseAndPasswordOptions(
            {{"into", true, "PATH", "add below this catalogue folder (names joined by \"/\")"}});
    }

    int Execute(const TParsedArgs& args, TCliContext& context) override
    {
        if (args.Positionals.size() < 2) {
            context.Err << "usage: pyxa-cli add " << Synopsis() << '\n';
            return ecUsage;
        }
        const fs::path archive = args.Positionals[0];
        TSession session(context);
        session.Host.Verbose = args.Has("verbose");
        if (!session.SetUpPasswords(args))
            return ecUsage;
        std::error_code error;
        if (fs::exists(archive, error) && !session.Open(archive))
            return ecUsage;
        TTreeNode* target = nullptr;
        if (args.Has("into")) {
            target = FindByPath(session.Container.Tree, args.Value("into"));
            if (!target || !target->IsFolder()) {
                context.Err << "No such folder: " << args.Value("into") << '\n';
                return ecUsage;
            }
        }
        if (session.Container.Locked()) {
            context.Err << "The container is locked read-only.\n";
            return ecUsage;
        }
        if (session.GivenPassword)
            session.Container.GlobalPassword = *session.GivenPassword;

        // Sources are added in the order given: runs of files together, each folder on its own.
        bool allAdded = true;
        std::vector<fs::path> files;
        const auto addFiles = [&] {
            if (files.empty())
                return;
            TAddCounters counters;
            AddFiles(session.Container, target, files, counters);
            session.PrintStatus();
            allAdded = allAdded && counters.FilesAdded == counters.FilesFound;
            files.clear();
        };
        for (size_t i = 1; i < args.Positionals.size(); ++i) {
            const fs::path source = args.Positionals[i];
            if (fs::is_directory(source, error)) {
                addFiles();
                TAddCounters counters;
                AddFolder(session.Container, target, source, counters);
                session.PrintStatus();
                allAdded = allAdded && counters.FilesAdded == counters.FilesFound;
            } else if (fs::exists(source, error)) {
                files.push_back(source);
            } else {
                context.Err << "error: Input file not found: " << source.string() << '\n';
                allAdded = false;
            }
        }
        addFiles();
        if (!session.Save(archive))
            return ecItemsFailed;
        session.PrintStatus();
        return allAdded ? ecSuccess : ecItemsFailed;
    }
};

}  // namespace

std::unique_ptr<TCommand> MakeAddCommand()
{
    return std::make_unique<AddCommand>();
}

}  // namespace pyxa::cli
