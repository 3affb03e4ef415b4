// Feeds arbitrary bytes to the container reader as a .pyxa file.

#include "container/OpenContainer.h"
#include "helpers/FakeHost.h"
#include "support/Stream.h"

#include <cstdint>
#include <filesystem>
#include <unistd.h>

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static FuzzState state;
    const std::filesystem::path archive = state.folder / "input.pyxa";
    {
        pyxa::TFileStream file(archive, pyxa::TFileMode::Create);
        file.Write(data, static_cast<int64_t>(size));
    }
    pyxa::ReadContainer(state.container, archive);
    state.host.Log.clear();
    state.host.Status.clear();
    return 0;
}
