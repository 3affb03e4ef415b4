#include "container/SaveContainer.h"

#include "container/SaveSteps.h"
#include "support/FileUtil.h"
#include "support/ProductTexts.h"
#include "support/SizeText.h"

namespace pyxa {

namespace fs = std::filesystem;

fs::path WithPyxaExtension(const fs::path& name)
{
    if (name.empty() || name.extension() == kContainerExtension)
        return name;
    return fs::path(name.string() + kContainerExtension);
}

namespace {

// Asks the front end where to save; a lone top-level folder proposes its own name.
fs::path AskTarget(TContainer& container)
{
    TSaveTargetRequest request;
    if (container.Tree.TopLevelCount() == 1 && container.Tree.TopLevel(0)->IsFolder())
        request.ProposedName = WithPyxaExtension(container.Tree.TopLevel(0)->Text()).string();
    const std::string chosen = container.Host.AskSaveTarget(request);
    if (chosen.empty())
        return {};
    return fs::absolute(WithPyxaExtension(chosen)).lexically_normal();
}

void Report(TContainer& container, SaveResult result)
{
    THost& host = container.Host;
    if (result == SaveResult::Ok) {
        const std::string name = NameWithoutFolder(container.FileName);
        host.SetStatusText("File \"" + name + "\" saved. File size: " +
                           SizeText(FileSizeOf(container.FileName), false));
        host.Display(ResultMessage(result), name, liSuccess, false, false);
        return;
    }
    if (result != SaveResult::NoTarget)
        host.Display(ResultMessage(result), "Saving Pyxa file", liError, false, true);
    host.SetStatusText("File not saved.");
}

}  // namespace

SaveResult SaveContainer(TContainer& container, bool saveAs, const TSaveStepHook& afterStep)
{
    const bool oldExists = !container.FileName.empty() && FileExists(container.FileName);
    const bool fullRewrite = !oldExists || container.ModifiedDat || saveAs;
    container.FileNameTmp = saveAs ? fs::path() : container.FileName;
    if (container.FileNameTmp.empty() || !FileExists(container.FileNameTmp))
        container.FileNameTmp = AskTarget(container);

    SaveResult result = SaveResult::NoTarget;
    if (!container.FileNameTmp.empty()) {
        container.Host.SetStatusText("Saving file, please wait...");
        container.Host.Display("Saving Pyxa file", NameWithoutFolder(container.FileNameTmp), liInformation, false,
                               false);
        container.Host.SetBusy(true, false);
        result = fullRewrite ? WriteFullContainer(container, afterStep) : RewriteIndexOnly(container, afterStep);
        container.Host.SetBusy(false, false);
    }
    Report(container, result);
    container.FileNameTmp.clear();
    return result;
}

}  // namespace pyxa
