#include "codecs/ParallelDeflate.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>
#include <zlib.h>

namespace pyxa {

namespace {

constexpr size_t kChunkSize = 1 << 20;
constexpr size_t kDictionarySize = 32768;

struct TChunk {
    std::vector<uint8_t> Input;  // the dictionary, then the chunk's own bytes
    size_t DictionaryLength = 0;
    bool Last = false;
    std::vector<uint8_t> Output;
    uLong Adler = 1;
    bool Ok = false;
    bool Done = false;

    size_t DataLength() const { return Input.size() - DictionaryLength; }
};

// Raw deflate of one chunk, ending byte-aligned (sync flush) or with the final block.
bool CompressChunk(TChunk& chunk)
{
    z_stream z {};
    if (deflateInit2(&z, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    bool ok = chunk.DictionaryLength == 0 ||
              deflateSetDictionary(&z, chunk.Input.data(), static_cast<uInt>(chunk.DictionaryLength)) == Z_OK;
    const uint8_t* data = chunk.Input.data() + chunk.DictionaryLength;
    chunk.Output.resize(deflateBound(&z, chunk.DataLength()) + 64);
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = static_cast<uInt>(chunk.DataLength());
    size_t produced = 0;
    const int flush = chunk.Last ? Z_FINISH : Z_SYNC_FLUSH;
    while (ok) {
        z.next_out = chunk.Output.data() + produced;
        z.avail_out = static_cast<uInt>(chunk.Output.size() - produced);
        const int rc = deflate(&z, flush);
        produced = chunk.Output.size() - z.avail_out;
        if (rc == Z_STREAM_END || (rc == Z_OK && z.avail_out > 0 && !chunk.Last))
            break;
        ok = rc == Z_OK || rc == Z_BUF_ERROR;
        chunk.Output.resize(chunk.Output.size() * 2);
    }
    deflateEnd(&z);
    chunk.Output.resize(produced);
    chunk.Adler = adler32(adler32(0, nullptr, 0), data, static_cast<uInt>(chunk.DataLength()));
    return ok;
}

class TChunkWorkers {
public:
    explicit TChunkWorkers(int threads)
    {
        for (int i = 0; i < threads; ++i)
            FThreads.emplace_back([this] { Work(); });
    }
    ~TChunkWorkers()
    {
        {
            std::lock_guard lock(FMutex);
            FStop = true;
        }
        FWake.notify_all();
        for (std::thread& thread : FThreads)
            thread.join();
    }

    void Submit(TChunk* chunk)
    {
        {
            std::lock_guard lock(FMutex);
            FTodo.push_back(chunk);
        }
        FWake.notify_one();
    }

    void WaitFor(TChunk& chunk)
    {
        std::unique_lock lock(FMutex);
        FDone.wait(lock, [&chunk] { return chunk.Done; });
    }

private:
    void Work()
    {
        for (;;) {
            TChunk* chunk = nullptr;
            {
                std::unique_lock lock(FMutex);
                FWake.wait(lock, [this] { return FStop || !FTodo.empty(); });
                if (FTodo.empty())
                    return;
                chunk = FTodo.front();
                FTodo.pop_front();
            }
            const bool ok = CompressChunk(*chunk);
            {
                std::lock_guard lock(FMutex);
                chunk->Ok = ok;
                chunk->Done = true;
            }
            FDone.notify_all();
        }
    }

    std::mutex FMutex;
    std::condition_variable FWake;
    std::condition_variable FDone;
    std::deque<TChunk*> FTodo;
    bool FStop = false;
    std::vector<std::thread> FThreads;
};

// Reads the next chunk behind the tail of the previous one; nothing at the end of the source.
std::unique_ptr<TChunk> ReadChunk(TStream& source, const std::vector<uint8_t>& tail, bool& failed)
{
    auto chunk = std::make_unique<TChunk>();
    chunk->Input.resize(tail.size() + kChunkSize);
    if (!tail.empty())
        std::memcpy(chunk->Input.data(), tail.data(), tail.size());
    chunk->DictionaryLength = tail.size();
    size_t filled = 0;
    while (filled < kChunkSize) {
        const int64_t got = source.Read(chunk->Input.data() + tail.size() + filled, kChunkSize - filled);
        if (got < 0)
            failed = true;
        if (got <= 0)
            break;
        filled += static_cast<size_t>(got);
    }
    chunk->Input.resize(tail.size() + filled);
    chunk->Last = filled < kChunkSize;
    return chunk;
}

std::vector<uint8_t> TailOf(const TChunk& chunk)
{
    const size_t keep = std::min(kDictionarySize, chunk.Input.size());
    return std::vector<uint8_t>(chunk.Input.end() - static_cast<std::ptrdiff_t>(keep), chunk.Input.end());
}

bool WriteAdler(TStream& dest, uLong adler)
{
    const uint8_t bytes[4] = {static_cast<uint8_t>(adler >> 24), static_cast<uint8_t>(adler >> 16),
                              static_cast<uint8_t>(adler >> 8), static_cast<uint8_t>(adler)};
    return dest.Write(bytes, 4);
}

}  // namespace

int CompressionThreads()
{
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
}

bool ParallelDeflate(TStream& source, TStream& dest, int threads)
{
    // Level 9 with the default window: the same two header bytes a serial stream has.
    static const uint8_t kHeader[2] = {0x78, 0xDA};
    if (!dest.Write(kHeader, 2))
        return false;
    TChunkWorkers workers(std::max(threads, 1));
    std::deque<std::unique_ptr<TChunk>> inFlight;
    const size_t maxInFlight = 2 * static_cast<size_t>(std::max(threads, 1));
    std::vector<uint8_t> tail;
    bool readFailed = false;
    bool allRead = false;
    bool ok = true;
    uLong adler = adler32(0, nullptr, 0);
    while (ok && (!allRead || !inFlight.empty())) {
        while (!allRead && inFlight.size() < maxInFlight) {
            inFlight.push_back(ReadChunk(source, tail, readFailed));
            TChunk& chunk = *inFlight.back();
            allRead = chunk.Last || readFailed;
            tail = TailOf(chunk);
            workers.Submit(&chunk);
        }
        TChunk& front = *inFlight.front();
        workers.WaitFor(front);
        ok = front.Ok && !readFailed && dest.Write(front.Output.data(), static_cast<int64_t>(front.Output.size()));
        adler = adler32_combine(adler, front.Adler, static_cast<z_off_t>(front.DataLength()));
        inFlight.pop_front();
    }
    // Chunks still queued are waited for by the workers' destructor before they are freed.
    for (auto& chunk : inFlight)
        workers.WaitFor(*chunk);
    return ok && WriteAdler(dest, adler);
}

}  // namespace pyxa
