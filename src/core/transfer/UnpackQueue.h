#pragma once
// Finishes in-memory unpacks (decompress, check, write) on worker threads while the caller reads
// and decrypts the next items, and hands the results back in the order the jobs were given, so
// that a run reports exactly as one file after the other would.

#include "codecs/ItemPipeline.h"
#include "container/Catalogue.h"

#include <condition_variable>
#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace pyxa {

struct TUnpackDone {
    TTreeNode* Node = nullptr;
    std::filesystem::path Destination;
    UnpackResult Result = UnpackResult::Ok;
};

class TUnpackQueue {
public:
    explicit TUnpackQueue(int threads);
    // Finishes every job given; results not taken are dropped.
    ~TUnpackQueue();
    TUnpackQueue(const TUnpackQueue&) = delete;
    TUnpackQueue& operator=(const TUnpackQueue&) = delete;

    // outputSize: the item's size, counted against the memory the jobs in flight may hold.
    void Give(TTreeNode* node, TPreparedUnpack prepared, std::filesystem::path destination, bool keepOnCrcError,
              int64_t outputSize);
    // Whether the next job should wait until the oldest result was taken.
    bool Full() const;
    bool Empty() const;
    // Jobs given and not yet taken.
    size_t Count() const;
    // Whether a job not yet taken writes to this destination.
    bool Writes(const std::filesystem::path& destination) const;
    // The oldest result, waiting for it; Empty() must be false.
    TUnpackDone TakeOldest();
    // The oldest result when it is finished.
    std::optional<TUnpackDone> TakeFinished();

private:
    struct TJob;
    void Work();

    mutable std::mutex FMutex;
    std::condition_variable FWaiting;   // a job was given, or the workers are to stop
    std::condition_variable FFinished;  // a job was finished
    std::deque<std::unique_ptr<TJob>> FJobs;  // in the order given, until taken
    int64_t FBytes = 0;
    size_t FWindow;
    bool FStop = false;
    std::vector<std::thread> FThreads;
};

}  // namespace pyxa
