#include "CataloguePath.h"
#include "Command.h"
#include "Session.h"
#include "container/ContainerInfo.h"

namespace pyxa::cli {

namespace {

class InfoCommand : public TCommand {
public:
    std::string Name() const override { return "info"; }
    std::string Summary() const override { return "show information about the container or one item"; }
    std::string Synopsis() const override { return "ARCHIVE [PATH]"; }
    std::string Description() const override
    {
        return "Without PATH, shows the container's size, dates, counts and compression ratio. With PATH\n"
               "(a catalogue path, names joined by \"/\"), shows the file's or the folder's information.";
    }

    int Execute(const TParsedArgs& args, TCliContext& context) override
    {
        if (args.Positionals.empty() || args.Positionals.size() > 2) {
            context.Err << "usage: pyxa-cli info " << Synopsis() << '\n';
            return ecUsage;
        }
        TSession session(context);
        if (!session.Open(args.Positionals[0]))
            return ecUsage;
        if (args.Positionals.size() == 2) {
            TTreeNode* node = FindByPath(session.Container.Tree, args.Positionals[1]);
            if (!node) {
                context.Err << "No such item: " << args.Positionals[1] << '\n';
                return ecUsage;
            }
            session.Container.SetSelectedItem(node);
        }
        const TInfoText info = SelectedInfoText(session.Container);
        context.Out << info.Instruction << '\n';
        // The terminal wants plain line feeds.
        for (char c : info.Content) {
            if (c != '\r')
                context.Out << c;
        }
        context.Out << '\n';
        return ecSuccess;
    }
};

}  // namespace

std::unique_ptr<TCommand> MakeInfoCommand()
{
    return std::make_unique<InfoCommand>();
}

}  // namespace pyxa::cli
