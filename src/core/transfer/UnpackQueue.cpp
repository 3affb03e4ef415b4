#include "transfer/UnpackQueue.h"

#include <algorithm>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

// Memory the jobs in flight may hold, packed input and output together; one job always runs.
constexpr int64_t kBytesInFlight = 64 * 1024 * 1024;

}  // namespace

struct TUnpackQueue::TJob {
    TTreeNode* Node = nullptr;
    TPreparedUnpack Prepared;
    fs::path Destination;
    bool KeepOnCrcError = false;
    int64_t Bytes = 0;
    bool Started = false;
    bool Finished = false;
    UnpackResult Result = UnpackResult::Ok;
};

TUnpackQueue::TUnpackQueue(int threads) : FWindow(2 * static_cast<size_t>(std::max(threads, 1)))
{
    for (int i = 0; i < std::max(threads, 1); ++i)
        FThreads.emplace_back([this] { Work(); });
}

TUnpackQueue::~TUnpackQueue()
{
    {
        std::unique_lock lock(FMutex);
        FFinished.wait(lock, [this] {
            return std::all_of(FJobs.begin(), FJobs.end(), [](const auto& job) { return job->Finished; });
        });
        FStop = true;
    }
    FWaiting.notify_all();
    for (std::thread& thread : FThreads)
        thread.join();
}

void TUnpackQueue::Give(TTreeNode* node, TPreparedUnpack prepared, fs::path destination, bool keepOnCrcError,
                        int64_t outputSize)
{
    auto job = std::make_unique<TJob>();
    job->Node = node;
    job->Bytes = prepared.Compressed.Size() + std::max<int64_t>(outputSize, 0);
    job->Prepared = std::move(prepared);
    job->Destination = std::move(destination);
    job->KeepOnCrcError = keepOnCrcError;
    {
        std::lock_guard lock(FMutex);
        FBytes += job->Bytes;
        FJobs.push_back(std::move(job));
    }
    FWaiting.notify_one();
}

bool TUnpackQueue::Full() const
{
    std::lock_guard lock(FMutex);
    return FJobs.size() >= FWindow || (!FJobs.empty() && FBytes >= kBytesInFlight);
}

bool TUnpackQueue::Empty() const
{
    std::lock_guard lock(FMutex);
    return FJobs.empty();
}

size_t TUnpackQueue::Count() const
{
    std::lock_guard lock(FMutex);
    return FJobs.size();
}

bool TUnpackQueue::Writes(const fs::path& destination) const
{
    std::lock_guard lock(FMutex);
    return std::any_of(FJobs.begin(), FJobs.end(), [&](const auto& job) { return job->Destination == destination; });
}

TUnpackDone TUnpackQueue::TakeOldest()
{
    std::unique_lock lock(FMutex);
    FFinished.wait(lock, [this] { return FJobs.front()->Finished; });
    const std::unique_ptr<TJob> job = std::move(FJobs.front());
    FJobs.pop_front();
    FBytes -= job->Bytes;
    return {job->Node, job->Destination, job->Result};
}

std::optional<TUnpackDone> TUnpackQueue::TakeFinished()
{
    {
        std::lock_guard lock(FMutex);
        if (FJobs.empty() || !FJobs.front()->Finished)
            return std::nullopt;
    }
    return TakeOldest();
}

void TUnpackQueue::Work()
{
    for (;;) {
        TJob* job = nullptr;
        {
            std::unique_lock lock(FMutex);
            const auto waiting = [this] {
                return std::find_if(FJobs.begin(), FJobs.end(), [](const auto& j) { return !j->Started; });
            };
            FWaiting.wait(lock, [&] { return FStop || waiting() != FJobs.end(); });
            if (FStop)
                return;
            job = waiting()->get();
            job->Started = true;
        }
        // The job stays in the queue until it is taken, and only this thread touches it meanwhile.
        const UnpackResult result = FinishInMemoryUnpack(job->Prepared, job->Destination, job->KeepOnCrcError);
        job->Prepared.Compressed.Clear();
        {
            std::lock_guard lock(FMutex);
            job->Result = result;
            job->Finished = true;
        }
        // Only the thread that gives and takes jobs waits for them.
        FFinished.notify_one();
    }
}

}  // namespace pyxa
