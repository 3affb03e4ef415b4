#include "container/IntegrityTest.h"

#include "codecs/ItemPipeline.h"
#include "support/FileUtil.h"
#include "support/Utf16.h"

#include <string>
#include <vector>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxUnpackedCopies = 20;
// The classic path limit, counted in UTF-16 units, with room for a name in the test folder: an
// item beyond it may not be extractable on systems that keep that limit.
constexpr size_t kPathLengthLimit = 260;
constexpr size_t kPathReserve = 10;

// The unpacked copies not deleted yet. Whatever is left is deleted when the pass ends, however it
// ends, so no copy outlives the test.
class TUnpackedCopies {
public:
    explicit TUnpackedCopies(THost& host) : FHost(host) {}
    ~TUnpackedCopies()
    {
        for (const fs::path& path : FPaths)
            DeleteFileIfExists(path);
    }
    TUnpackedCopies(const TUnpackedCopies&) = delete;
    TUnpackedCopies& operator=(const TUnpackedCopies&) = delete;

    void Add(fs::path path) { FPaths.push_back(std::move(path)); }
    bool Full() const { return FPaths.size() >= kMaxUnpackedCopies; }

    // The message queue runs after each deletion, so that a cancel click is seen.
    void DeleteAll()
    {
        for (const fs::path& path : FPaths) {
            if (FileExists(path)) {
                DeleteFileIfExists(path);
                FHost.ProcessMessages();
            }
        }
        FPaths.clear();
    }

private:
    THost& FHost;
    std::vector<fs::path> FPaths;
};

void ShowNotSaved(THost& host)
{
    host.TaskMessageBox("The current Pyxa file has not been saved yet.", "Please save it and try this again...",
                        miInformation, mbOK);
}

void ReportErrorsFound(THost& host)
{
    host.SetStatusText("Errors were found.");
    host.Display("Errors were found", "", liWarning, false, true);
}

bool PathTooLong(const std::string& itemPath, const fs::path& testFolder)
{
    return Utf8ToUtf16(itemPath).size() + Utf8ToUtf16(testFolder.string()).size() + kPathReserve >
           kPathLengthLimit;
}

void ShowProgress(THost& host, size_t index, size_t count, const std::string& name)
{
    const size_t percent = index * 100 / count;
    host.SetStatusText(std::to_string(percent) + "% Testing \"" + name + "\"");
    host.ProcessMessages();
}

// Unpacks one file item into the test folder as extraction would; true when it came out whole.
bool TestItem(TContainer& container, TTreeNode& node, TUnpackedCopies& copies)
{
    const fs::path testFolder = container.WorkingFolder.TestFolder();
    const fs::path copy = NewTempFileName(testFolder);
    copies.Add(copy);
    TItemInfo& item = node.Item();
    const UnpackResult result = UnpackItem(container, item, copy, false);
    if (result != UnpackResult::Ok)
        container.Host.Display(ResultMessage(result), item.Name, ResultIcon(result), false, true);
    const std::string path = ItemPath(nullptr, &node, false);
    if (PathTooLong(path, testFolder))
        container.Host.Display("Filename and path too long. This may cause problems...", path, liWarning, false,
                               true);
    return result == UnpackResult::Ok;
}

// Unpacks every file item in tree order until the user cancels; returns the number that failed.
int TestFiles(TContainer& container)
{
    THost& host = container.Host;
    const std::vector<TTreeNode*> nodes = container.Tree.Nodes();
    TUnpackedCopies copies(host);
    // The password prompt offers "use for all files" checked, as during extraction.
    container.Extracting = true;
    int errors = 0;
    for (size_t i = 0; i < nodes.size() && !host.CancelRequested(); ++i) {
        TTreeNode& node = *nodes[i];
        if (!node.IsFolder()) {
            if (i % 5 == 0)
                ShowProgress(host, i, nodes.size(), node.Item().Name);
            if (!TestItem(container, node, copies))
                ++errors;
        }
        if (copies.Full())
            copies.DeleteAll();
    }
    container.Extracting = false;
    copies.DeleteAll();
    return errors;
}

void ReportSummary(THost& host, const TIntegrityOutcome& outcome)
{
    if (outcome.Cancelled) {
        host.SetStatusText("Operation cancelled.");
        host.Display("Operation cancelled.", "", liWarning, false, true);
    } else if (outcome.Errors > 0) {
        ReportErrorsFound(host);
    } else {
        host.SetStatusText("File successfully tested.");
        host.Display("File successfully tested", "", liSuccess, false, false);
        host.TaskMessageBox("No errors detected.", "", miInformation, mbOK);
    }
}

}  // namespace

TIntegrityOutcome TestPyxaFile(TContainer& container)
{
    THost& host = container.Host;
    TIntegrityOutcome outcome;
    if (container.Modified() || container.FileName.empty()) {
        ShowNotSaved(host);
        return outcome;
    }
    outcome.Tested = true;

    host.SetStatusText("Testing structure");
    host.Display("Testing structure", "", liInformation, false, false);
    host.ProcessMessages();
    outcome.Structure = TestStructure(container);
    if (outcome.Structure != TestResult::Ok) {
        host.Display(ResultMessage(outcome.Structure), "Testing Pyxa file", liError, false, true);
        ReportErrorsFound(host);
        return outcome;
    }

    host.Display("Testing files", "", liInformation, false, false);
    host.SetBusy(true, true);
    outcome.Errors = TestFiles(container);
    outcome.Cancelled = host.CancelRequested();
    ReportSummary(host, outcome);
    host.SetBusy(false, false);
    return outcome;
}

}  // namespace pyxa
