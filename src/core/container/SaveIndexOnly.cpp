// The index-only rewrite. The header points at a complete index block at every instant: the new
// block is first appended as a copy past everything, the header is pointed at the copy, the block
// is written over the old index, the header is pointed back, and only then is the file cut.

#include "container/SaveSteps.h"

#include <algorithm>
#include <sys/stat.h>

namespace pyxa {

namespace {

bool WritableByOwner(const std::filesystem::path& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && (info.st_mode & S_IWUSR) != 0;
}

bool PointHeaderAt(TFileStream& file, int64_t offset)
{
    return file.Seek(kIndexOffsetPosition) && WriteInt64(file, offset) && file.Sync();
}

void Step(const TSaveStepHook& afterStep, const char* name)
{
    if (afterStep)
        afterStep(name);
}

}  // namespace

SaveResult RewriteIndexOnly(TContainer& container, const TSaveStepHook& afterStep)
{
    const std::filesystem::path& target = container.FileNameTmp;
    TFileStream file;
    // A file without write permission is read-only for everybody, its owner and root included.
    if (!WritableByOwner(target) || !file.Open(target, TFileMode::ReadWrite))
        return SaveResult::CannotOpenContainer;
    int64_t indexOffset = 0;
    const int64_t fileSize = file.Size();
    if (!ReadSignature(file, TBlockKind::Header) || !ReadInt64(file, indexOffset) || indexOffset < kHeaderSize ||
        indexOffset > fileSize)
        return SaveResult::MainSignatureError;

    TCompressedIndex index;
    if (const SaveResult built = BuildCompressedIndex(container, index); built != SaveResult::Ok)
        return built;

    const int64_t copyOffset = std::max(fileSize, indexOffset + index.BlockSize());
    if (!file.Seek(copyOffset) || WriteIndexBlock(file, index) != SaveResult::Ok || !file.Sync()) {
        file.Truncate(fileSize);
        return SaveResult::CannotWriteContainer;
    }
    Step(afterStep, "index copy appended");
    if (!PointHeaderAt(file, copyOffset))
        return SaveResult::CannotWriteContainer;
    Step(afterStep, "header points at the copy");
    if (!file.Seek(indexOffset) || WriteIndexBlock(file, index) != SaveResult::Ok || !file.Sync())
        return SaveResult::CannotWriteContainer;
    Step(afterStep, "index written in place");
    if (!PointHeaderAt(file, indexOffset))
        return SaveResult::CannotWriteContainer;
    Step(afterStep, "header points back");
    if (!file.Truncate(indexOffset + index.BlockSize()) || !file.Sync())
        return SaveResult::CannotWriteContainer;
    Step(afterStep, "file cut");
    container.SetModified(false, false);
    return SaveResult::Ok;
}

}  // namespace pyxa
