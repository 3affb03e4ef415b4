#pragma once
// Small helpers shared by the benchmarks.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace pyxa::bench {

inline double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline double PeakRssMiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// A scratch folder under the system temporary folder, removed at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : FPath(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(getpid())))
    {
        std::filesystem::create_directories(FPath);
    }
    ~ScratchFolder() { std::filesystem::remove_all(FPath); }
    const std::filesystem::path& Path() const { return FPath; }

private:
    std::filesystem::path FPath;
};

// Deterministic bytes that do not compress (xorshift64).
inline void FillNoise(uint8_t* data, size_t size, uint64_t& state)
{
    for (size_t i = 0; i < size; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        data[i] = static_cast<uint8_t>(state);
    }
}

}  // namespace pyxa::bench
