// Feeds arbitrary bytes to the container reader: as a whole .pyxa file, or (first byte odd) as an
// index document wrapped in a well-formed container, so that the reader gets past the checksums.

#include "container/OpenContainer.h"
#include "helpers/FakeHost.h"
#include "support/Stream.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>
#include <zlib.h>

namespace {

struct FuzzState {
    FuzzState()
    {
        folder = std::filesystem::temp_directory_path() / ("pyxa-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        container.WorkingFolder.Create(folder);
    }
    std::filesystem::path folder;
    pyxa::test::FakeHost host;
    pyxa::TContainer container {host};
};

void PutLe(std::string& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string WrapDocument(const uint8_t* data, size_t size)
{
    uLongf compressedSize = compressBound(static_cast<uLong>(size));
    std::vector<Bytef> compressed(compressedSize);
    compress2(compressed.data(), &compressedSize, data, static_cast<uLong>(size), 9);
    std::string bytes("PYXA\0", 5);
    PutLe(bytes, 13, 8);
    bytes += std::string("PYXA\1", 5);
    PutLe(bytes, compressedSize, 4);
    PutLe(bytes, crc32(0, data, static_cast<uInt>(size)), 4);
    bytes += '\0';
    bytes.append(reinterpret_cast<const char*>(compressed.data()), compressedSize);
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzState state;
    const std::filesystem::path archive = state.folder / "input.pyxa";
    {
        pyxa::TFileStream file(archive, pyxa::TFileMode::Create);
        if (size > 0 && (data[0] & 1) != 0) {
            const std::string wrapped = WrapDocument(data + 1, size - 1);
            file.Write(wrapped.data(), static_cast<int64_t>(wrapped.size()));
        } else {
            file.Write(data, static_cast<int64_t>(size));
        }
    }
    pyxa::ReadContainer(state.container, archive);
    state.host.Log.clear();
    state.host.Status.clear();
    return 0;
}
