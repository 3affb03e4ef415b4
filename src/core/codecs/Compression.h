#pragma once
// zlib compression (RFC 1950; level 9, window bits 15, memory level 8, default strategy).

#include "support/Results.h"
#include "support/Stream.h"

#include <filesystem>

namespace pyxa {

inline constexpr int kCodecBufferSize = 65536;

CompressFileResult CompressFile(const std::filesystem::path& source, const std::filesystem::path& dest);
// A destination that was not completed is deleted.
CompressFileResult DecompressFile(const std::filesystem::path& source, const std::filesystem::path& dest);
// Compresses the source from its position into dest from its position; dest is then set to 0.
CompressStreamResult CompressStream(TStream* source, TStream* dest);
// Decompresses from the source's first byte, whatever its position; dest is then set to 0.
CompressStreamResult DecompressStream(TStream* source, TStream* dest);

}  // namespace pyxa
