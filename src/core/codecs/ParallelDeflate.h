#pragma once
// One zlib stream made on several cores: the input is cut into chunks that are compressed
// independently, each primed with the 32 KiB before it as dictionary, and joined with one
// header and one Adler-32, so any zlib reads the result and the size stays close to serial.

#include "support/Stream.h"

namespace pyxa {

// Inputs at least this long are worth compressing in chunks.
inline constexpr int64_t kParallelDeflateThreshold = 4 << 20;

// Worker threads for compression: the machine's cores, at least 1.
int CompressionThreads();
// Compresses everything from the source's position to its end into dest (level 9, window 15,
// memory level 8); false on any codec, read or write error.
bool ParallelDeflate(TStream& source, TStream& dest, int threads);

}  // namespace pyxa
