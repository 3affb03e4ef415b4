#include "Command.h"
#include "Session.h"

namespace pyxa::cli {

namespace {

class CreateCommand : public TCommand {
public:
    std::string Name() const override { return "create"; }
    std::string Summary() const override { return "create an empty container"; }
    std::string Synopsis() const override { return "ARCHIVE"; }
    std::string Description() const override
    {
        return "Creates an empty container. A name whose extension is not \".pyxa\" gets \".pyxa\" appended.\n"
               "An existing file is never replaced.";
    }

    int Execute(const TParsedArgs& args, TCliContext& context) override
    {
        if (args.Positionals.size() != 1) {
            context.Err << "usage: pyxa-cli create " << Synopsis() << '\n';
            return ecUsage;
        }
        const std::filesystem::path archive = args.Positionals[0];
        std::error_code error;
        if (std::filesystem::exists(archive, error)) {
            context.Err << "File exists: " << archive.string() << '\n';
            return ecUsage;
        }
        TSession session(context);
        if (!session.Save(archive))
            return ecItemsFailed;
        context.Out << "Created " << session.Container.FileName.string() << '\n';
        return ecSuccess;
    }
};

}  // namespace

std::unique_ptr<TCommand> MakeCreateCommand()
{
    return std::make_unique<CreateCommand>();
}

}  // namespace pyxa::cli
