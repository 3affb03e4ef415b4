#pragma once
// Container bytes built straight from the layout tables with zlib, independent of the engine's
// writer, so that a mistake made the same way in writer and reader is caught.

#include <cstdint>
#include <string>

namespace pyxa::test {

std::string Le32(uint32_t value);
std::string Le64(int64_t value);
uint32_t ZlibCrc(const std::string& bytes);
std::string ZlibCompress(const std::string& bytes);

std::string ZlibDecompress(const std::string& bytes);
int64_t GetLe64(const std::string& bytes, size_t at);
uint32_t GetLe32(const std::string& bytes, size_t at);

// One item block read back from container bytes; Kind is -1 when there is no block there.
struct ParsedItemBlock {
    int Kind = -1;
    int64_t Length = 0;
    uint32_t Crc = 0;
    std::string Packed;
};
ParsedItemBlock ReadItemBlock(const std::string& container, int64_t offset);

// "PYXA", kind 0, index offset.
std::string HeaderBytes(int64_t indexOffset);
// "PYXA", kind 2, L, CRC of the packed bytes, the packed bytes.
std::string ItemBlockBytes(const std::string& packed);
// "PYXA", kind 1, C, CRC of the document, flags 0, the compressed document.
std::string IndexBlockBytes(const std::string& document);
// A whole container: header, the given item blocks, then the index block.
std::string ContainerBytes(const std::string& itemBlocks, const std::string& document);

// An index document with the declaration and a root carrying the four attributes.
std::string IndexDocumentText(const std::string& items, const std::string& rootAttributes =
                                  R"(Version="1.0" Date="2010-05-04T13:07:09+02:00" Locked="false" Encrypted="false")");

}  // namespace pyxa::test
