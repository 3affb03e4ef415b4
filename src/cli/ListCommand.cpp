#include "CataloguePath.h"
#include "Command.h"
#include "Session.h"
#include "container/Iso8601.h"

#include <nlohmann/json.hpp>

namespace pyxa::cli {

namespace {

nlohmann::ordered_json ItemJson(const TTreeNode& node)
{
    const TItemInfo& item = node.Item();
    return {{"path", CataloguePath(node)},
            {"name", item.Name},
            {"folder", item.IsFolder},
            {"size", item.Size},
            {"added", DateTimeZToIso(item.Added)},
            {"original", DateTimeZToIso(item.Original)},
            {"comments", item.Comments},
            {"color", item.Color},
            {"icon", item.Icon},
            {"encrypted", item.Encrypted},
            {"index", item.Index},
            {"crc", item.Crc}};
}

class ListCommand : public TCommand {
public:
    std::string Name() const override { return "list"; }
    std::string Summary() const override { return "list the catalogue in tree order"; }
    std::string Synopsis() const override { return "[--json] ARCHIVE"; }
    std::string Description() const override
    {
        return "Prints one line per item, each folder before its contents: the catalogue path with \"/\"\n"
               "between names, folders ending in \"/\".";
    }
    std::vector<TOptionDef> Options() const override
    {
        return {{"json", false, "", "print a JSON array of the items with all their attributes"}};
    }

    int Execute(const TParsedArgs& args, TCliContext& context) override
    {
        if (args.Positionals.size() != 1) {
            context.Err << "usage: pyxa-cli list " << Synopsis() << '\n';
            return ecUsage;
        }
        TSession session(context);
        if (!session.Open(args.Positionals[0]))
            return ecUsage;
        const std::vector<TTreeNode*> nodes = session.Container.Tree.Nodes();
        if (args.Has("json")) {
            nlohmann::ordered_json items = nlohmann::ordered_json::array();
            for (const TTreeNode* node : nodes)
                items.push_back(ItemJson(*node));
            // Names are not guaranteed to be valid UTF-8; replace what is not.
            context.Out << items.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << '\n';
        } else {
            for (const TTreeNode* node : nodes)
                context.Out << CataloguePath(*node) << '\n';
        }
        return ecSuccess;
    }
};

}  // namespace

std::unique_ptr<TCommand> MakeListCommand()
{
    return std::make_unique<ListCommand>();
}

}  // namespace pyxa::cli
