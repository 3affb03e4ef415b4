// The encryption and decryption runs: one walk over a subtree in tree order that changes file
// after file, reports each failure and ends with the totals. A failed file never stops the run;
// a cancel stops it before the next node and keeps what was done.

#include "protection/EncryptionRuns.h"

#include "protection/FolderRestriction.h"

#include <string>
#include <vector>

namespace pyxa {

namespace {

// What one file step tells its run.
struct TStepOutcome {
    bool Done = false;
    std::string Message;  // empty: nothing to log
    int Icon = liError;
};

template <typename TResult>
TStepOutcome OutcomeOf(TResult result)
{
    return {result == TResult::Ok, ResultMessage(result), ResultIcon(result)};
}

// The texts and the file step that tell an encryption run from a decryption run.
struct TRunKind {
    const char* Starting;
    const char* Working;
    const char* FolderSkipped;
    const char* OneDone;
    const char* ManyDone;
    TStepOutcome (*Step)(TContainer&, TItemInfo&, const std::string&);
};

TStepOutcome EncryptStep(TContainer& container, TItemInfo& item, const std::string& password)
{
    return OutcomeOf(EncryptStoredItem(container, &item, password));
}

TStepOutcome DecryptStep(TContainer& container, TItemInfo& item, const std::string& password)
{
    return OutcomeOf(DecryptStoredItem(container, &item, password));
}

constexpr TRunKind kEncryptRun {"Encrypting file/s", "Encrypting \"", "This folder has not been encrypted",
                                "File encrypted.", " files successfully encrypted.", EncryptStep};
constexpr TRunKind kDecryptRun {"Decrypting file/s", "Decrypting \"", "This folder has not been decrypted",
                                "File decrypted.", " files successfully decrypted.", DecryptStep};

bool IsClosedRestrictedFolder(const TTreeNode& node)
{
    return IsRestrictedFolder(node) && !node.Expanded;
}

// Opens a closed restricted folder as expanding it would: through the front end when it takes
// that part, else through the restriction check itself.
bool Entered(TContainer& container, TTreeNode& folder, const TFolderOpener& openFolder)
{
    const bool opened = openFolder ? openFolder(folder) : OpenRestrictedFolder(container, folder);
    container.Host.ProcessMessages();
    return opened;
}

void ProcessFile(TContainer& container, TItemInfo& item, const std::string& password, const TRunKind& kind,
                 TCryptRunTotals& totals)
{
    THost& host = container.Host;
    host.SetStatusText(kind.Working + item.Name + "\", please wait...");
    host.ProcessMessages();
    const TStepOutcome outcome = kind.Step(container, item, password);
    ++totals.Processed;
    if (outcome.Done)
        ++totals.Done;
    else if (!outcome.Message.empty())
        host.Display(outcome.Message, item.Name, outcome.Icon, false, true);
}

void ReportTotals(THost& host, const TRunKind& kind, const TCryptRunTotals& totals)
{
    if (totals.Cancelled) {
        host.SetStatusText("Operation cancelled.");
        host.Display("Operation cancelled.", "", liWarning, false, true);
        return;
    }
    if (totals.Processed == 1)
        host.SetStatusText(totals.Done == 1 ? kind.OneDone : "");
    else
        host.SetStatusText(std::to_string(totals.Done) + " of " + std::to_string(totals.Processed) + kind.ManyDone);
    if (totals.Done >= 1)
        host.Display("Operation completed", "", liSuccess, false, false);
}

TCryptRunTotals RunOverItems(TContainer& container, TTreeNode* start, const std::string& password,
                             const TFolderOpener& openFolder, const TRunKind& kind)
{
    TCryptRunTotals totals;
    if (container.Locked() || container.Tree.Empty())
        return totals;
    THost& host = container.Host;
    // Marked before the walk, whether or not a file changes.
    container.SetModified(true, true);
    host.Display(kind.Starting, start ? start->Text() : "All files", liInformation, false, false);
    host.SetBusy(true, true);
    const std::vector<TTreeNode*> nodes = start ? SubtreeNodes(start) : container.Tree.Nodes();
    for (size_t i = 0; i < nodes.size() && !host.CancelRequested();) {
        TTreeNode& node = *nodes[i];
        if (IsClosedRestrictedFolder(node) && !Entered(container, node, openFolder)) {
            host.Display(kind.FolderSkipped, node.Text(), liWarning, true, true);
            i += static_cast<size_t>(SubtreeCount(&node));
            continue;
        }
        if (!node.IsFolder())
            ProcessFile(container, node.Item(), password, kind, totals);
        ++i;
    }
    totals.Cancelled = host.CancelRequested();
    ReportTotals(host, kind, totals);
    host.SetBusy(false, false);
    return totals;
}

}  // namespace

TCryptRunTotals EncryptItems(TContainer& container, TTreeNode* start, const std::string& password,
                             const TFolderOpener& openFolder)
{
    return RunOverItems(container, start, password, openFolder, kEncryptRun);
}

TCryptRunTotals DecryptItems(TContainer& container, TTreeNode* start, const std::string& password,
                             const TFolderOpener& openFolder)
{
    return RunOverItems(container, start, password, openFolder, kDecryptRun);
}

}  // namespace pyxa
