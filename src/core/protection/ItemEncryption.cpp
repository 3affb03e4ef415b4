// The per-item steps of the encryption runs. Each builds the item's new packed data in a scratch
// file and touches the item only once that file is complete, so a failure leaves the item as it
// was and no scratch file behind.

#include "protection/EncryptionRuns.h"

#include "codecs/AesLib.h"
#include "codecs/Compression.h"
#include "codecs/Crc32.h"
#include "codecs/ItemPipeline.h"
#include "support/FileUtil.h"
#include "support/ScratchFile.h"

#include <optional>
#include <utility>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

// The packed data of an item as it is now: a copy of a stored item's block, checked against the
// block's CRC-32 and deleted after use, or the temporary file of a pending or replaced item, which
// is the item's only data and stays.
class TPackedSource {
public:
    UnpackResult Take(const TContainer& container, const TItemInfo& item)
    {
        if (!item.IsStored()) {
            FPath = item.TmpCmpFile;
            return FileExists(FPath) ? UnpackResult::Ok : UnpackResult::TemporaryNotFound;
        }
        FCopy.emplace(container.NewTempFileName());
        FPath = FCopy->Path();
        return CopyItemBlockToFile(container, item, FPath, true);
    }
    const fs::path& Path() const { return FPath; }

private:
    fs::path FPath;
    std::optional<TScratchFile> FCopy;
};

// Both result tables share the reading failures under the same names.
template <typename TResult>
TResult ReadingFailure(UnpackResult code)
{
    switch (code) {
    case UnpackResult::ContainerNotFound: return TResult::ContainerNotFound;
    case UnpackResult::CannotOpenContainer: return TResult::CannotOpenContainer;
    case UnpackResult::SignatureError: return TResult::SignatureError;
    case UnpackResult::PackedCrcError: return TResult::PackedCrcError;
    case UnpackResult::TemporaryNotFound: return TResult::TemporaryNotFound;
    default: return TResult::CannotCreateTemporary;
    }
}

// Takes a complete scratch file as the item's packed data and lets the former temporary file go.
void ReplacePackedData(TItemInfo& item, TScratchFile& packed, uint32_t packedCrc)
{
    const fs::path former = item.TmpCmpFile;
    item.TmpCmpFile = packed.Release();
    item.TmpCrcFile = packedCrc;
    if (!former.empty())
        DeleteFileIfExists(former);
}

// Keeps only the CRC-32 and the length of what is written, so that content can be checked
// without storing it.
class TCrcSink : public TStream {
public:
    int64_t Read(void*, int64_t) override { return -1; }
    bool Write(const void* buffer, int64_t count) override
    {
        FRegister = Crc32Update(buffer, static_cast<size_t>(count), FRegister);
        FSize += count;
        return true;
    }
    // Only the rewind a codec does when it finishes: nothing is ever read back.
    bool Seek(int64_t position) override { return position == 0; }
    int64_t Position() const override { return FSize; }
    int64_t Size() const override { return FSize; }
    uint32_t Crc() const { return ~FRegister; }

private:
    uint32_t FRegister = 0xFFFFFFFFu;
    int64_t FSize = 0;
};

// CRC-32 of the content a zlib stream file holds; empty when it does not decompress.
std::optional<uint32_t> ContentCrc(const fs::path& zlibFile)
{
    TFileStream packed;
    TCrcSink content;
    if (!packed.Open(zlibFile, TFileMode::Read) || DecompressStream(&packed, &content) != CompressStreamResult::Ok)
        return std::nullopt;
    return content.Crc();
}

}  // namespace

EncryptItemResult EncryptStoredItem(TContainer& container, TItemInfo* item, const std::string& password)
{
    if (!item || item->IsFolder)
        return EncryptItemResult::InvalidItem;
    if (item->Encrypted)
        return EncryptItemResult::AlreadyEncrypted;
    // An empty password would only pretend to protect the item.
    if (password.empty())
        return EncryptItemResult::CannotEncrypt;
    TPackedSource source;
    if (const UnpackResult taken = source.Take(container, *item); taken != UnpackResult::Ok)
        return ReadingFailure<EncryptItemResult>(taken);
    TScratchFile encrypted(container.NewTempFileName());
    if (EncryptFileWithPassword(source.Path(), encrypted.Path(), password) != 0)
        return EncryptItemResult::CannotEncrypt;
    const std::optional<uint32_t> encryptedCrc = FileCrc32(encrypted.Path());
    if (!encryptedCrc)
        return EncryptItemResult::CannotCreateTemporary;
    ReplacePackedData(*item, encrypted, *encryptedCrc);
    item->Encrypted = true;
    item->TmpPass = password;
    return EncryptItemResult::Ok;
}

DecryptItemResult DecryptStoredItem(TContainer& container, TItemInfo* item, const std::string& password)
{
    if (!item || item->IsFolder)
        return DecryptItemResult::InvalidItem;
    if (!item->Encrypted)
        return DecryptItemResult::NotEncrypted;
    const std::string used = item->TmpPass.empty() ? password : item->TmpPass;
    TPackedSource source;
    if (const UnpackResult taken = source.Take(container, *item); taken != UnpackResult::Ok)
        return ReadingFailure<DecryptItemResult>(taken);
    TScratchFile plain(container.NewTempFileName());
    const int decrypted = DecryptFileWithPassword(source.Path(), plain.Path(), used);
    if (decrypted == 1) {
        // A password that failed is not tried again by later operations.
        item->TmpPass.clear();
        return DecryptItemResult::InvalidPassword;
    }
    if (decrypted != 0)
        return DecryptItemResult::CannotDecrypt;
    const std::optional<uint32_t> contentCrc = ContentCrc(plain.Path());
    if (!contentCrc)
        return DecryptItemResult::CannotDecompress;
    if (*contentCrc != item->Crc)
        container.Host.Display("CRC error on file", item->Name, liWarning, true, true);
    const std::optional<uint32_t> plainCrc = FileCrc32(plain.Path());
    if (!plainCrc)
        return DecryptItemResult::CannotCreateTemporary;
    ReplacePackedData(*item, plain, *plainCrc);
    item->Encrypted = false;
    item->TmpPass.clear();
    return DecryptItemResult::Ok;
}

}  // namespace pyxa
