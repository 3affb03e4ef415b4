#pragma once
// zlib compression (RFC 1950; level 9, window bits 15, memory level 8, default strategy).

#include "support/Results.h"
#include "support/Stream.h"

#include <filesystem>

namespace pyxa {

inline constexpr int kCodecBufferSize = 65536;

// The file operations replace a file named dest (a symbolic link there is replaced, never written
// through); a read-only file, a folder, a special file or the source itself is refused with -3.
// A destination that was not completed is left for the caller to remove.
CompressFileResult CompressFile(const std::filesystem::path& source, const std::filesystem::path& dest);
// A destination this call created but did not complete is deleted; a file already there when the
// call fails before creating its own is not touched.
CompressFileResult DecompressFile(const std::filesystem::path& source, const std::filesystem::path& dest);
// Compresses the source from its position into dest from its position; dest is then set to 0.
CompressStreamResult CompressStream(TStream* source, TStream* dest);
// Decompresses from the source's first byte, whatever its position; dest is then set to 0.
CompressStreamResult DecompressStream(TStream* source, TStream* dest);

}  // namespace pyxa
