#pragma once
// Packs a list of disk files on worker threads, a few files ahead of the one the caller takes,
// and hands the results back in list order, so the catalogue is built in the user's order with
// the same names, messages and results as one file after the other.

#include "container/Container.h"
#include "support/Results.h"

#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace pyxa {

struct TPackedFile {
    bool WasFile = false;             // the path named a file when its turn came
    PackResult Result = PackResult::Ok;
    std::unique_ptr<TItemInfo> Item;  // Size, Original and the packed state; the name is the caller's
};

// Packs one disk file into a new record, as the adding commands do (the automatic password
// encrypts it when set).
TPackedFile PackDiskFile(TContainer& container, const std::filesystem::path& file);

class TPackQueue {
public:
    TPackQueue(TContainer& container, std::vector<std::filesystem::path> files, int threads);
    // Waits for the workers; packed data never taken is deleted.
    ~TPackQueue();
    TPackQueue(const TPackQueue&) = delete;
    TPackQueue& operator=(const TPackQueue&) = delete;

    // The result of the next file in list order; waits until it is packed.
    TPackedFile Next();

private:
    void Work();

    TContainer& FContainer;
    const std::vector<std::filesystem::path> FFiles;
    std::vector<TPackedFile> FResults;
    std::vector<bool> FReady;
    size_t FNextToStart = 0;
    size_t FNextToTake = 0;
    size_t FWindow;
    bool FStop = false;
    std::mutex FMutex;
    std::condition_variable FChanged;
    std::vector<std::thread> FThreads;
};

}  // namespace pyxa
