#include "codecs/Crc32.h"

#include <zlib.h>

#include <algorithm>
#include <array>

namespace pyxa {

namespace {

constexpr int64_t kCrcBufferSize = 4096;
constexpr uint32_t kRegisterPreset = 0xFFFFFFFFu;

struct TCrcRun {
    uint32_t Crc = 0;
    bool Complete = false;  // every byte the stream announced was read
};

// Reads from the position to the announced end; a stream that yields less ends the run early
// instead of waiting for data that will not come.
TCrcRun CrcOfRest(TStream& stream)
{
    std::array<uint8_t, kCrcBufferSize> buffer {};
    int64_t remaining = std::max<int64_t>(stream.Size() - stream.Position(), 0);
    uint32_t reg = kRegisterPreset;
    while (remaining > 0) {
        const int64_t got = stream.Read(buffer.data(), std::min(kCrcBufferSize, remaining));
        if (got <= 0)
            break;
        reg = Crc32Update(buffer.data(), static_cast<size_t>(got), reg);
        remaining -= got;
    }
    return TCrcRun {~reg, remaining == 0};
}

}  // namespace

uint32_t Crc32Update(const void* data, size_t count, uint32_t reg)
{
    // zlib complements the register on entry and exit; undo both so the register runs bare.
    // It must not see an empty call: it answers a null buffer with 0, not with the register.
    if (count == 0)
        return reg;
    return ~static_cast<uint32_t>(crc32_z(~reg, static_cast<const Bytef*>(data), count));
}

uint32_t StreamCrc32(TStream& stream)
{
    return CrcOfRest(stream).Crc;
}

std::optional<uint32_t> FileCrc32(const std::filesystem::path& path)
{
    TFileStream file;
    if (!file.Open(path, TFileMode::Read))
        return std::nullopt;
    const TCrcRun run = CrcOfRest(file);
    if (!run.Complete)
        return std::nullopt;
    return run.Crc;
}

}  // namespace pyxa
