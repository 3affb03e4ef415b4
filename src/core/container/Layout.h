#pragma once
// Byte layout of a container file: a 13-byte header, item data blocks, and the index block last.
// All integers are little-endian.

#include "support/Stream.h"

#include <array>
#include <cstdint>

namespace pyxa {

enum class TBlockKind : uint8_t {
    Header = 0,
    Index = 1,
    Item = 2,
};

inline constexpr int kSignatureSize = 5;
inline constexpr int64_t kHeaderSize = 13;           // signature, index offset (8)
inline constexpr int64_t kItemBlockHeaderSize = 17;  // signature, data length (8), data CRC (4)
inline constexpr int64_t kIndexBlockHeaderSize = 14; // signature, compressed length (4), CRC (4), flags (1)
inline constexpr int64_t kIndexOffsetPosition = 5;   // where the header keeps the index offset

using TSignature = std::array<uint8_t, kSignatureSize>;
TSignature BlockSignature(TBlockKind kind);

void PutInt64(uint8_t* out, int64_t value);
void PutUInt32(uint8_t* out, uint32_t value);
int64_t GetInt64(const uint8_t* in);
uint32_t GetUInt32(const uint8_t* in);

// Reads 5 bytes and tells whether they are the signature of kind.
bool ReadSignature(TStream& stream, TBlockKind kind);
bool ReadInt64(TStream& stream, int64_t& value);
bool ReadUInt32(TStream& stream, uint32_t& value);

bool WriteSignature(TStream& stream, TBlockKind kind);
bool WriteInt64(TStream& stream, int64_t value);
bool WriteUInt32(TStream& stream, uint32_t value);

// The fields that follow an index block's signature.
struct TIndexBlockHeader {
    uint32_t CompressedLength = 0;
    uint32_t IndexCrc = 0;
    uint8_t Flags = 0;
};
bool ReadIndexBlockHeader(TStream& stream, TIndexBlockHeader& header);
// Writes the whole 14-byte head of an index block, signature included.
bool WriteIndexBlockHeader(TStream& stream, const TIndexBlockHeader& header);

}  // namespace pyxa
