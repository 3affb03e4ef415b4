#pragma once
// CRC-32 (reflected polynomial 0xEDB88320, the checksum of zlib, zip and PNG).

#include "support/Stream.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace pyxa {

// Runs the table update over count bytes; no inversion on entry or exit.
uint32_t Crc32Update(const void* data, size_t count, uint32_t reg);
// CRC-32 of the bytes from the stream's position to its end; the position is left at the end.
uint32_t StreamCrc32(TStream& stream);
// CRC-32 of the whole file; empty when the file cannot be opened or read.
std::optional<uint32_t> FileCrc32(const std::filesystem::path& path);

}  // namespace pyxa
