#include "CataloguePath.h"
#include "Command.h"
#include "Session.h"
#include "transfer/Extraction.h"

namespace pyxa::cli {

namespace {

namespace fs = std::filesystem;

class ExtractCommand : public TCommand {
public:
    std::string Name() const override { return "extract"; }
    std::string Summary() const override { return "extract files and folders to a folder"; }
    std::string Synopsis() const override { return "ARCHIVE [PATH...] --to DIR"; }
    std::string Description() const override
    {
        return "Extracts each PATH (a catalogue path, names joined by \"/\"; a folder with everything in it)\n"
               "into DIR, or the whole catalogue when no PATH is given. A file lands in DIR under its own\n"
               "name; a folder is recreated in DIR. DIR is created when missing. Encrypted files need a\n"
               "password: from --password-env, --password-file, or a prompt on the terminal.";
    }
    std::vector<TOptionDef> Options() const override
    {
        return WithVerboseAndPasswordOptions({{"to", true, "DIR", "the destination folder (required)"}});
    }

    int Execute(const TParsedArgs& args, TCliContext& context) override
    {
        if (args.Positionals.empty() || !args.Has("to") || args.Value("to").empty()) {
            context.Err << "usage: pyxa-cli extract " << Synopsis() << '\n';
            return ecUsage;
        }
        TSession session(context);
        session.Host.Verbose = args.Has("verbose");
        if (!session.SetUpPasswords(args) || !session.Open(args.Positionals[0]))
            return ecUsage;
        std::vector<TTreeNode*> roots;
        for (size_t i = 1; i < args.Positionals.size(); ++i) {
            TTreeNode* node = FindByPath(session.Container.Tree, args.Positionals[i]);
            if (!node) {
                context.Err << "No such item: " << args.Positionals[i] << '\n';
                return ecUsage;
            }
            roots.push_back(node);
        }
        if (roots.empty())
            roots.push_back(nullptr);

        const fs::path destination = args.Value("to");
        std::error_code error;
        fs::create_directories(destination, error);
        if (!fs::is_directory(destination, error)) {
            context.Err << "Cannot create folder " << destination.string() << '\n';
            return ecItemsFailed;
        }
        bool allExtracted = true;
        for (TTreeNode* root : roots) {
            const TExtractionResult result = ExtractItems(session.Container, root, destination);
            session.PrintStatus();
            if (!result.Error.empty())
                context.Err << result.Error << '\n';
            allExtracted = allExtracted && result.Error.empty() && !result.Cancelled &&
                           result.Extracted == result.Total && result.Failed.empty();
            if (result.Cancelled)
                break;
        }
        // A file delivered despite a CRC error or a skipped folder still means the run failed.
        const bool clean = session.Host.ErrorCount() == 0 && session.Host.WarningCount() == 0;
        return allExtracted && clean ? ecSuccess : ecItemsFailed;
    }
};

}  // namespace

std::unique_ptr<TCommand> MakeExtractCommand()
{
    return std::make_unique<ExtractCommand>();
}

}  // namespace pyxa::cli
