// The full rewrite: a new container is built beside the target and renamed into place. Nothing
// of the catalogue changes until the new file is in place, so a failed save loses nothing.

#include "codecs/Crc32.h"
#include "container/SaveSteps.h"
#include "support/FileUtil.h"
#include "support/ScratchFile.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

// Where one file item's block lands in the new container.
struct TPlacedItem {
    TItemInfo* Item;
    int64_t NewIndex;
    uint32_t BlockCrc;
};

bool WriteBlockHead(TFileStream& out, int64_t length, uint32_t crc)
{
    return WriteSignature(out, TBlockKind::Item) && WriteInt64(out, length) && WriteUInt32(out, crc);
}

// Copies length bytes and returns the CRC-32 of what was copied, or nothing on an error.
std::optional<uint32_t> CopyWithCrc(TStream& in, TStream& out, int64_t length)
{
    std::vector<uint8_t> buffer(65536);
    uint32_t reg = 0xFFFFFFFFu;
    while (length > 0) {
        const int64_t want = std::min<int64_t>(length, static_cast<int64_t>(buffer.size()));
        if (!in.ReadExact(buffer.data(), want) || !out.Write(buffer.data(), want))
            return std::nullopt;
        reg = Crc32Update(buffer.data(), static_cast<size_t>(want), reg);
        length -= want;
    }
    return ~reg;
}

// A pending or replaced item: its packed data comes from its temporary file.
SaveResult CopyPendingItem(TItemInfo& item, TFileStream& out, TPlacedItem& placed)
{
    TFileStream in;
    if (!in.Open(item.TmpCmpFile, TFileMode::Read))
        return SaveResult::CannotOpenItemTemporary;
    const int64_t length = in.Size();
    if (!WriteBlockHead(out, length, item.TmpCrcFile) || in.CopyTo(out, length) != length)
        return SaveResult::CannotWriteContainer;
    placed.BlockCrc = item.TmpCrcFile;
    return SaveResult::Ok;
}

// A stored, unchanged item: its block is copied straight from the old container.
SaveResult CopyStoredItem(TContainer& container, TItemInfo& item, TFileStream& old, TFileStream& out,
                          TPlacedItem& placed)
{
    int64_t length = 0;
    uint32_t storedCrc = 0;
    if (!old.Seek(item.Index) || !ReadSignature(old, TBlockKind::Item) || !ReadInt64(old, length) || length < 0 ||
        length > old.Size() - item.Index - kItemBlockHeaderSize || !ReadUInt32(old, storedCrc)) {
        container.Host.Display("File signature error", item.Name, liError, false, true);
        return SaveResult::CannotOpenContainer;
    }
    if (!WriteBlockHead(out, length, storedCrc))
        return SaveResult::CannotWriteContainer;
    const std::optional<uint32_t> copiedCrc = CopyWithCrc(old, out, length);
    if (!copiedCrc)
        return SaveResult::CannotWriteContainer;
    // A damaged block is kept as it is, with its old CRC, so that nothing more is lost.
    if (*copiedCrc != storedCrc)
        container.Host.Display("CRC error (in temporary file)", item.Name, liError, false, true);
    placed.BlockCrc = storedCrc;
    return SaveResult::Ok;
}

bool NeedsOldContainer(const std::vector<TTreeNode*>& nodes)
{
    for (const TTreeNode* node : nodes) {
        if (node->Item().IsStored())
            return true;
    }
    return false;
}

void ReportProgress(THost& host, size_t i, size_t count)
{
    if (i % 10 != 0)
        return;
    host.SetStatusText("Saving " + std::to_string(i * 100 / count) + "%...");
    host.ProcessMessages();
}

SaveResult WriteItemBlocks(TContainer& container, const std::vector<TTreeNode*>& nodes, TFileStream& out,
                           std::vector<TPlacedItem>& placed)
{
    TFileStream old;
    if (NeedsOldContainer(nodes)) {
        if (container.FileName.empty() || !FileExists(container.FileName))
            return SaveResult::ContainerMissing;
        if (!old.Open(container.FileName, TFileMode::Read))
            return SaveResult::CannotOpenContainer;
    }
    container.Host.Display("Saving " + std::to_string(nodes.size()) + " items", "", liInformation, false, false);
    SaveResult result = SaveResult::Ok;
    for (size_t i = 0; i < nodes.size() && result == SaveResult::Ok; ++i) {
        TItemInfo& item = nodes[i]->Item();
        if (!item.IsFolder) {
            TPlacedItem place {&item, out.Position(), 0};
            if (!item.TmpCmpFile.empty())
                result = CopyPendingItem(item, out, place);
            else if (item.Index > 0)
                result = CopyStoredItem(container, item, old, out, place);
            else
                result = SaveResult::CannotOpenItemTemporary;  // a pending item whose data is gone
            if (result == SaveResult::CannotOpenItemTemporary)
                container.Host.Display(ResultMessage(result), item.Name, liError, false, true);
            placed.push_back(place);
        }
        ReportProgress(container.Host, i, nodes.size());
    }
    return result;
}

// The index lists the new offsets; the records keep the old ones until the file is in place.
SaveResult BuildIndexForNewOffsets(TContainer& container, std::vector<TPlacedItem>& placed, TCompressedIndex& index)
{
    for (TPlacedItem& place : placed)
        std::swap(place.Item->Index, place.NewIndex);
    const SaveResult result = BuildCompressedIndex(container, index);
    for (TPlacedItem& place : placed)
        std::swap(place.Item->Index, place.NewIndex);
    return result;
}

void CopyPermissions(const fs::path& from, const fs::path& to)
{
    struct stat info {};
    if (::stat(from.c_str(), &info) == 0)
        ::chmod(to.c_str(), (info.st_mode & 07777) | S_IWUSR);
}

void SyncFolder(const fs::path& folder)
{
    const int handle = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle >= 0) {
        ::fsync(handle);
        ::close(handle);
    }
}

void CommitPlacedItems(std::vector<TPlacedItem>& placed)
{
    for (TPlacedItem& place : placed) {
        DeleteFileIfExists(place.Item->TmpCmpFile);
        place.Item->TmpCmpFile.clear();
        place.Item->Index = place.NewIndex;
        place.Item->TmpCrcFile = place.BlockCrc;
    }
}

// The target could not be replaced: keep the data under the new file's own name with ".pyxa".
void KeepUnderFallbackName(TContainer& container, TScratchFile& created)
{
    fs::path saved = created.Release();
    fs::path fallback = saved;
    fallback.replace_extension(".pyxa");
    std::error_code error;
    if (!fs::exists(fallback, error) && ::rename(saved.c_str(), fallback.c_str()) == 0)
        saved = fallback;
    container.Host.TaskMessageBox("The renaming operation could not be completed.",
                                  "Your file was saved to \"" + saved.string() + "\"", miWarning, mbOK);
}

}  // namespace

SaveResult WriteFullContainer(TContainer& container, const TSaveStepHook& afterStep)
{
    const fs::path target = container.FileNameTmp;
    // The new container is deleted on every failure until it is in place.
    TScratchFile created(NewTempFileName(target.parent_path()));
    TFileStream out;
    if (!out.Open(created.Path(), TFileMode::CreateNew))
        return SaveResult::CannotCreateContainer;
    if (!WriteSignature(out, TBlockKind::Header) || !WriteInt64(out, 0))
        return SaveResult::CannotWriteContainer;

    const std::vector<TTreeNode*> nodes = container.Tree.Nodes();
    std::vector<TPlacedItem> placed;
    if (const SaveResult written = WriteItemBlocks(container, nodes, out, placed); written != SaveResult::Ok)
        return written;

    TCompressedIndex index;
    if (const SaveResult built = BuildIndexForNewOffsets(container, placed, index); built != SaveResult::Ok)
        return built;
    const int64_t indexOffset = out.Position();
    if (const SaveResult written = WriteIndexBlock(out, index); written != SaveResult::Ok)
        return written;
    if (!out.Seek(kIndexOffsetPosition) || !WriteInt64(out, indexOffset) || !out.Sync() || !out.Close())
        return SaveResult::CannotWriteContainer;
    if (afterStep)
        afterStep("new container written");

    CopyPermissions(target, created.Path());
    if (::rename(created.Path().c_str(), target.c_str()) != 0) {
        KeepUnderFallbackName(container, created);
        return SaveResult::Ok;
    }
    created.Release();
    SyncFolder(target.parent_path());
    if (afterStep)
        afterStep("new container in place");
    CommitPlacedItems(placed);
    container.SetModified(false, false);
    container.FileName = target;
    container.Host.FileNameChanged();
    return SaveResult::Ok;
}

}  // namespace pyxa
