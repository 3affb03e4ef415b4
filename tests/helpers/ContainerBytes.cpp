#include "helpers/ContainerBytes.h"

#include <stdexcept>
#include <vector>
#include <zlib.h>

namespace pyxa::test {

std::string Le32(uint32_t value)
{
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

std::string Le64(int64_t value)
{
    std::string bytes;
    const auto bits = static_cast<uint64_t>(value);
    for (int i = 0; i < 8; ++i)
        bytes += static_cast<char>((bits >> (8 * i)) & 0xFF);
    return bytes;
}

uint32_t ZlibCrc(const std::string& bytes)
{
    return static_cast<uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

std::string ZlibCompress(const std::string& bytes)
{
    uLongf size = compressBound(static_cast<uLong>(bytes.size()));
    std::vector<Bytef> out(size);
    if (compress2(out.data(), &size, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uLong>(bytes.size()),
                  9) != Z_OK)
        throw std::runtime_error("zlib failed");
    return std::string(reinterpret_cast<const char*>(out.data()), size);
}

std::string ZlibDecompress(const std::string& bytes)
{
    z_stream stream {};
    if (inflateInit(&stream) != Z_OK)
        throw std::runtime_error("zlib failed");
    std::string out;
    std::vector<char> buffer(65536);
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer.data());
        stream.avail_out = static_cast<uInt>(buffer.size());
        status = inflate(&stream, Z_NO_FLUSH);
        out.append(buffer.data(), buffer.size() - stream.avail_out);
    }
    inflateEnd(&stream);
    if (status != Z_STREAM_END)
        throw std::runtime_error("not a complete zlib stream");
    return out;
}

int64_t GetLe64(const std::string& bytes, size_t at)
{
    uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes.at(at + static_cast<size_t>(i)));
    return static_cast<int64_t>(value);
}

uint32_t GetLe32(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<uint8_t>(bytes.at(at + static_cast<size_t>(i)));
    return value;
}

ParsedItemBlock ReadItemBlock(const std::string& container, int64_t offset)
{
    ParsedItemBlock block;
    const auto at = static_cast<size_t>(offset);
    if (offset < 0 || at + 17 > container.size() || container.compare(at, 4, "PYXA") != 0)
        return block;
    block.Kind = static_cast<uint8_t>(container[at + 4]);
    block.Length = GetLe64(container, at + 5);
    block.Crc = GetLe32(container, at + 13);
    if (block.Length >= 0 && at + 17 + static_cast<size_t>(block.Length) <= container.size())
        block.Packed = container.substr(at + 17, static_cast<size_t>(block.Length));
    return block;
}

std::string HeaderBytes(int64_t indexOffset)
{
    return std::string("PYXA\x00", 5) + Le64(indexOffset);
}

std::string ItemBlockBytes(const std::string& packed)
{
    return std::string("PYXA\x02", 5) + Le64(static_cast<int64_t>(packed.size())) + Le32(ZlibCrc(packed)) + packed;
}

std::string IndexBlockBytes(const std::string& document)
{
    const std::string compressed = ZlibCompress(document);
    return std::string("PYXA\x01", 5) + Le32(static_cast<uint32_t>(compressed.size())) + Le32(ZlibCrc(document)) +
           std::string(1, '\0') + compressed;
}

std::string ContainerBytes(const std::string& itemBlocks, const std::string& document)
{
    return HeaderBytes(13 + static_cast<int64_t>(itemBlocks.size())) + itemBlocks + IndexBlockBytes(document);
}

std::string IndexDocumentText(const std::string& items, const std::string& rootAttributes)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Index " + rootAttributes + ">\n" + items + "</Index>\n";
}

}  // namespace pyxa::test
