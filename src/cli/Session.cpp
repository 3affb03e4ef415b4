#include "Session.h"

#include "container/OpenContainer.h"
#include "container/SaveContainer.h"


namespace pyxa::cli {

TSession::TSession(TCliContext& context) : Context(context), Host(context.Out, context.Err), Container(Host)
{
    Host.Progress = context.Interactive;
    Container.WorkingFolder.Create(SystemTempFolder());
}

TSession::~TSession()
{
    Container.CloseCatalogue(false);
    Container.WorkingFolder.Remove();
}

bool TSession::Open(const std::filesystem::path& archive)
{
    const OpenResult result = ReadContainer(Container, archive);
    if (result == OpenResult::Ok)
        return true;
    Context.Err << ResultMessage(result) << '\n';
    return false;
}

bool TSession::Save(const std::filesystem::path& archive)
{
    Host.SaveTarget = archive.string();
    const SaveResult result = SaveContainer(Container, false);
    Host.EndProgress();
    if (result == SaveResult::Ok)
        return true;
    if (result == SaveResult::NoTarget)
        Context.Err << "File not saved.\n";
    return false;
}

bool TSession::SetUpPasswords(const TParsedArgs& args)
{
    const TPasswordSetup setup = ReadGivenPassword(args);
    if (!setup.Error.empty()) {
        Context.Err << setup.Error << '\n';
        return false;
    }
    GivenPassword = setup.Given;
    InstallPasswordSource(Host, setup, Context.Interactive);
    return true;
}

void TSession::PrintStatus()
{
    Host.EndProgress();
    if (!Host.LastStatus().empty())
        Context.Out << Host.LastStatus() << '\n';
}

}  // namespace pyxa::cli
