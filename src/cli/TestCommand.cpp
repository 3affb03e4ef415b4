#include "Command.h"
#include "Session.h"
#include "container/IntegrityTest.h"

namespace pyxa::cli {

namespace {

class TestCommand : public TCommand {
public:
    std::string Name() const override { return "test"; }
    std::string Summary() const override { return "test the container's integrity"; }
    std::string Synopsis() const override { return "ARCHIVE"; }
    std::string Description() const override
    {
        return "Checks the chain of blocks, then unpacks every file into a scratch folder, which verifies\n"
               "decryption, decompression and the CRC-32 of each file, and deletes the copies again.\n"
               "Encrypted files need a password. Exit status 1 when errors were found.";
    }
    std::vector<TOptionDef> Options() const override
    {
        return WithVerboseAndPasswordOptions({});
    }

    int Execute(const TParsedArgs& args, TCliContext& context) override
    {
        if (args.Positionals.size() != 1) {
            context.Err << "usage: pyxa-cli test " << Synopsis() << '\n';
            return ecUsage;
        }
        TSession session(context);
        session.Host.Verbose = args.Has("verbose");
        if (!session.SetUpPasswords(args) || !session.Open(args.Positionals[0]))
            return ecUsage;
        const TIntegrityOutcome outcome = TestPyxaFile(session.Container);
        session.PrintStatus();
        return outcome.Passed() ? ecSuccess : ecItemsFailed;
    }
};

}  // namespace

std::unique_ptr<TCommand> MakeTestCommand()
{
    return std::make_unique<TestCommand>();
}

}  // namespace pyxa::cli
