#include "transfer/PackQueue.h"

#include "codecs/ItemPipeline.h"
#include "support/FileUtil.h"

namespace pyxa {

namespace fs = std::filesystem;

TPackedFile PackDiskFile(TContainer& container, const fs::path& file)
{
    TPackedFile packed;
    packed.WasFile = FileExists(file);
    if (!packed.WasFile)
        return packed;
    packed.Item = std::make_unique<TItemInfo>();
    TItemInfo& item = *packed.Item;
    item.Name = file.filename().string();
    item.Size = FileSizeOf(file);
    item.Original = TDateTimeZ {FileDateOf(file), LocalUtcOffset(), true};
    packed.Result = WithinInMemoryLimit(item.Size) ? PackItemInMemory(container, file, "", &item)
                                                   : PackItemViaFiles(container, file, "", &item);
    return packed;
}

TPackQueue::TPackQueue(TContainer& container, std::vector<fs::path> files, int threads)
    : FContainer(container), FFiles(std::move(files)), FResults(FFiles.size()), FReady(FFiles.size(), false),
      FWindow(2 * static_cast<size_t>(std::max(threads, 1)))
{
    const size_t workers = std::min(FFiles.size(), static_cast<size_t>(std::max(threads, 1)));
    for (size_t i = 0; i < workers; ++i)
        FThreads.emplace_back([this] { Work(); });
}

TPackQueue::~TPackQueue()
{
    {
        std::lock_guard lock(FMutex);
        FStop = true;
    }
    FChanged.notify_all();
    for (std::thread& thread : FThreads)
        thread.join();
    for (size_t i = FNextToTake; i < FResults.size(); ++i) {
        if (FResults[i].Item)
            DeleteFileIfExists(FResults[i].Item->TmpCmpFile);
    }
}

void TPackQueue::Work()
{
    for (;;) {
        size_t index = 0;
        {
            std::unique_lock lock(FMutex);
            // Stay a bounded number of files ahead of the caller, so temporary data stays small.
            FChanged.wait(lock, [this] {
                return FStop || FNextToStart >= FFiles.size() || FNextToStart < FNextToTake + FWindow;
            });
            if (FStop || FNextToStart >= FFiles.size())
                return;
            index = FNextToStart++;
        }
        TPackedFile packed = PackDiskFile(FContainer, FFiles[index]);
        {
            std::lock_guard lock(FMutex);
            FResults[index] = std::move(packed);
            FReady[index] = true;
        }
        FChanged.notify_all();
    }
}

TPackedFile TPackQueue::Next()
{
    std::unique_lock lock(FMutex);
    FChanged.wait(lock, [this] { return FReady[FNextToTake]; });
    TPackedFile packed = std::move(FResults[FNextToTake]);
    ++FNextToTake;
    lock.unlock();
    FChanged.notify_all();
    return packed;
}

}  // namespace pyxa
