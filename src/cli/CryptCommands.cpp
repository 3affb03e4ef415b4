// "encrypt" and "decrypt": the encryption runs over one item, a folder or the whole catalogue.

#include "CataloguePath.h"
#include "Command.h"
#include "Session.h"
#include "protection/EncryptionRuns.h"

namespace pyxa::cli {

namespace {

class CryptCommand : public TCommand {
public:
    explicit CryptCommand(bool encrypt) : FEncrypt(encrypt) {}

    std::string Name() const override { return FEncrypt ? "encrypt" : "decrypt"; }
    std::string Summary() const override
    {
        return FEncrypt ? "encrypt files with AES, then save" : "decrypt files, then save";
    }
    std::string Synopsis() const override { return "ARCHIVE [PATH]"; }
    std::string Description() const override
    {
        return std::string(FEncrypt ? "Encrypts" : "Decrypts") +
               " the file PATH, every file below the folder PATH, or every file of the container\n"
               "when no PATH is given, then saves. The password comes from --password-env,\n"
               "--password-file or a prompt on the terminal.";
    }
    std::vector<TOptionDef> Options() const override
    {
        return WithVerboseAndPasswordOptions({});
    }

    int Execute(const TParsedArgs& args, TCliContext& context) override
    {
        if (args.Positionals.empty() || args.Positionals.size() > 2) {
            context.Err << "usage: pyxa-cli " << Name() << ' ' << Synopsis() << '\n';
            return ecUsage;
        }
        const std::filesystem::path archive = args.Positionals[0];
        TSession session(context);
        session.Host.Verbose = args.Has("verbose");
        if (!session.SetUpPasswords(args) || !session.Open(archive))
            return ecUsage;
        TContainer& container = session.Container;
        if (container.Locked()) {
            context.Err << "The container is locked read-only.\n";
            return ecUsage;
        }
        TTreeNode* node = nullptr;
        if (args.Positionals.size() == 2) {
            node = FindByPath(container.Tree, args.Positionals[1]);
            if (!node) {
                context.Err << "No such item: " << args.Positionals[1] << '\n';
                return ecUsage;
            }
        }
        container.SetSelectedItem(node);
        // A password given for the run serves as the automatic password, in place of the prompt.
        if (session.GivenPassword)
            container.GlobalPassword = *session.GivenPassword;
        const bool single = node && !node->IsFolder();
        const std::optional<TCryptRunTotals> totals =
            FEncrypt ? (single ? EncryptItemCommand(container) : EncryptFolderCommand(container))
                     : (single ? DecryptItemCommand(container) : DecryptFolderCommand(container));
        session.PrintStatus();
        if (!totals)
            return ecItemsFailed;
        if (container.Modified() && !session.Save(archive))
            return ecItemsFailed;
        session.PrintStatus();
        const bool clean = !totals->Cancelled && session.Host.ErrorCount() == 0;
        return clean ? ecSuccess : ecItemsFailed;
    }

private:
    bool FEncrypt;
};

}  // namespace

std::unique_ptr<TCommand> MakeEncryptCommand()
{
    return std::make_unique<CryptCommand>(true);
}

std::unique_ptr<TCommand> MakeDecryptCommand()
{
    return std::make_unique<CryptCommand>(false);
}

}  // namespace pyxa::cli
