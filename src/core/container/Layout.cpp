#include "container/Layout.h"

namespace pyxa {

TSignature BlockSignature(TBlockKind kind)
{
    return {'P', 'Y', 'X', 'A', static_cast<uint8_t>(kind)};
}

void PutInt64(uint8_t* out, int64_t value)
{
    const auto bits = static_cast<uint64_t>(value);
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<uint8_t>(bits >> (8 * i));
}

void PutUInt32(uint8_t* out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

int64_t GetInt64(const uint8_t* in)
{
    uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = (bits << 8) | in[i];
    return static_cast<int64_t>(bits);
}

uint32_t GetUInt32(const uint8_t* in)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | in[i];
    return value;
}

bool ReadSignature(TStream& stream, TBlockKind kind)
{
    TSignature read {};
    return stream.ReadExact(read.data(), kSignatureSize) && read == BlockSignature(kind);
}

bool ReadInt64(TStream& stream, int64_t& value)
{
    uint8_t bytes[8];
    if (!stream.ReadExact(bytes, 8))
        return false;
    value = GetInt64(bytes);
    return true;
}

bool ReadUInt32(TStream& stream, uint32_t& value)
{
    uint8_t bytes[4];
    if (!stream.ReadExact(bytes, 4))
        return false;
    value = GetUInt32(bytes);
    return true;
}

bool WriteSignature(TStream& stream, TBlockKind kind)
{
    const TSignature signature = BlockSignature(kind);
    return stream.Write(signature.data(), kSignatureSize);
}

bool WriteInt64(TStream& stream, int64_t value)
{
    uint8_t bytes[8];
    PutInt64(bytes, value);
    return stream.Write(bytes, 8);
}

bool WriteUInt32(TStream& stream, uint32_t value)
{
    uint8_t bytes[4];
    PutUInt32(bytes, value);
    return stream.Write(bytes, 4);
}

bool ReadIndexBlockHeader(TStream& stream, TIndexBlockHeader& header)
{
    return ReadUInt32(stream, header.CompressedLength) && ReadUInt32(stream, header.IndexCrc) &&
           stream.ReadExact(&header.Flags, 1);
}

bool WriteIndexBlockHeader(TStream& stream, const TIndexBlockHeader& header)
{
    return WriteSignature(stream, TBlockKind::Index) && WriteUInt32(stream, header.CompressedLength) &&
           WriteUInt32(stream, header.IndexCrc) && stream.Write(&header.Flags, 1);
}

}  // namespace pyxa
