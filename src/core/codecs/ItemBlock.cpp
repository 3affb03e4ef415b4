#include "codecs/ItemPipeline.h"

#include "codecs/Crc32.h"
#include "container/Layout.h"
#include "support/FileUtil.h"

#include <algorithm>
#include <vector>

namespace pyxa {

namespace {

constexpr int64_t kBlockCopyBufferSize = 65536;
constexpr int64_t kDataCrcSize = 4;

// The fields of an item block that precede its packed data.
struct TBlockHead {
    int64_t Length = 0;
    uint32_t Crc = 0;
};

// Opens the container and reads the item's block up to its packed data, which the file is then
// positioned at. The length read is trusted only when the container really holds that many bytes.
UnpackResult ReadBlockHead(const TContainer& container, const TItemInfo& item, TFileStream& file, TBlockHead& head)
{
    if (!FileExists(container.FileName))
        return UnpackResult::ContainerNotFound;
    if (item.Index <= 0)
        return UnpackResult::NotAddedYet;
    if (!file.Open(container.FileName, TFileMode::Read))
        return UnpackResult::CannotOpenContainer;
    if (!ReadSignature(file, TBlockKind::Header) || !file.Seek(item.Index) || !ReadSignature(file, TBlockKind::Item) ||
        !ReadInt64(file, head.Length))
        return UnpackResult::SignatureError;
    if (head.Length == 0)
        return UnpackResult::Ok;
    const int64_t available = file.Size() - file.Position() - kDataCrcSize;
    if (head.Length < 0 || head.Length > available || !ReadUInt32(file, head.Crc))
        return UnpackResult::SignatureError;
    return UnpackResult::Ok;
}

// Copies exactly count bytes through a bounded buffer and gives their CRC-32.
UnpackResult CopyPackedData(TStream& file, TStream& dest, int64_t count, uint32_t& crc)
{
    std::vector<uint8_t> buffer(static_cast<size_t>(std::min(count, kBlockCopyBufferSize)));
    uint32_t reg = 0xFFFFFFFFu;
    while (count > 0) {
        const int64_t chunk = std::min(count, static_cast<int64_t>(buffer.size()));
        if (!file.ReadExact(buffer.data(), chunk))
            return UnpackResult::CannotOpenContainer;
        if (!dest.Write(buffer.data(), chunk))
            return UnpackResult::CannotCreateTemporary;
        reg = Crc32Update(buffer.data(), static_cast<size_t>(chunk), reg);
        count -= chunk;
    }
    crc = ~reg;
    return UnpackResult::Ok;
}

UnpackResult CheckedCrc(bool checkCrc, uint32_t copied, uint32_t announced)
{
    return checkCrc && copied != announced ? UnpackResult::PackedCrcError : UnpackResult::Ok;
}

}  // namespace

UnpackResult CopyItemBlockToFile(const TContainer& container, const TItemInfo& item,
                                 const std::filesystem::path& path, bool checkCrc)
{
    TFileStream file;
    TBlockHead head;
    if (const UnpackResult opened = ReadBlockHead(container, item, file, head); opened != UnpackResult::Ok)
        return opened;
    // A new name only: an existing file is not ours to fill or to remove.
    TFileStream out;
    if (!out.Open(path, TFileMode::CreateNew))
        return UnpackResult::CannotCreateTemporary;
    uint32_t crc = 0;
    UnpackResult result = CopyPackedData(file, out, head.Length, crc);
    if (result == UnpackResult::Ok && !out.Close())
        result = UnpackResult::CannotCreateTemporary;
    if (result == UnpackResult::Ok)
        result = CheckedCrc(checkCrc, crc, head.Crc);
    if (result != UnpackResult::Ok) {
        out.Close();
        DeleteFileIfExists(path);
    }
    return result;
}

UnpackResult CopyItemBlockToStream(const TContainer& container, const TItemInfo& item, TStream* stream,
                                   bool checkCrc)
{
    TFileStream file;
    TBlockHead head;
    if (const UnpackResult opened = ReadBlockHead(container, item, file, head); opened != UnpackResult::Ok)
        return opened;
    if (!stream)
        return UnpackResult::CannotCreateTemporary;
    uint32_t crc = 0;
    UnpackResult result = CopyPackedData(file, *stream, head.Length, crc);
    if (result == UnpackResult::Ok)
        result = CheckedCrc(checkCrc, crc, head.Crc);
    stream->Seek(0);
    return result;
}

}  // namespace pyxa
