#include "Session.h"

#include "container/OpenContainer.h"

namespace pyxa::cli {

TSession::TSession(TCliContext& context) : Context(context), Host(context.Out, context.Err), Container(Host)
{
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

}  // namespace pyxa::cli
