#include "codecs/ItemPipeline.h"

#include "codecs/AesLib.h"
#include "codecs/Compression.h"
#include "codecs/Crc32.h"
#include "support/FileUtil.h"

#include <optional>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

// What a pack produced. It reaches the item only when the whole pack succeeded, so an item that
// fails to be packed again keeps describing the content it had.
struct TPacked {
    uint32_t Crc = 0;
    bool Encrypted = false;
    std::string Password;  // the one the packed data was encrypted with
    fs::path File;
    uint32_t FileCrc = 0;
};

void Commit(const TPacked& packed, TItemInfo& item)
{
    item.Crc = packed.Crc;
    item.Encrypted = packed.Encrypted;
    if (packed.Encrypted)
        item.TmpPass = packed.Password;
    item.TmpCmpFile = packed.File;
    item.TmpCrcFile = packed.FileCrc;
}

// An item without a password of its own takes the automatic password, when one is set.
const std::string& PasswordToUse(const TContainer& container, const std::string& password)
{
    return password.empty() ? container.GlobalPassword : password;
}

PackResult PackResultOf(CompressFileResult result)
{
    switch (result) {
    case CompressFileResult::Ok: return PackResult::Ok;
    case CompressFileResult::SourceNotFound: return PackResult::InputNotFound;
    case CompressFileResult::CannotOpenSource: return PackResult::CannotOpenInput;
    case CompressFileResult::CannotCreateDestination: return PackResult::CannotCreateTemporary;
    case CompressFileResult::CodecFailed: return PackResult::CannotCompress;
    }
    return PackResult::CannotCompress;
}

}  // namespace

PackResult PackItemInMemory(TContainer& container, const fs::path& source, const std::string& password,
                            TItemInfo* item)
{
    if (!FileExists(source))
        return PackResult::InputNotFound;
    if (!item)
        return PackResult::InvalidItem;
    TMemoryStream content;
    if (!content.LoadFromFile(source))
        return PackResult::CannotOpenInput;
    TPacked packed;
    packed.Crc = StreamCrc32(content);
    TMemoryStream compressed;
    if (!content.Seek(0) || CompressStream(&content, &compressed) != CompressStreamResult::Ok)
        return PackResult::CannotCompress;
    content.Clear();

    TMemoryStream* result = &compressed;
    const std::string& key = PasswordToUse(container, password);
    if (!key.empty()) {
        if (EncryptStreamWithPassword(&compressed, &content, key) != 0)
            return PackResult::CannotEncrypt;
        compressed.Clear();
        result = &content;
        packed.Encrypted = true;
        packed.Password = key;
    }
    packed.FileCrc = StreamCrc32(*result);
    packed.File = container.NewTempFileName();
    if (!result->SaveToFile(packed.File)) {
        DeleteFileIfExists(packed.File);
        return PackResult::CannotCreateTemporary;
    }
    Commit(packed, *item);
    return PackResult::Ok;
}

PackResult PackItemViaFiles(TContainer& container, const fs::path& source, const std::string& password,
                            TItemInfo* item)
{
    if (!FileExists(source))
        return PackResult::InputNotFound;
    if (!item)
        return PackResult::InvalidItem;
    TPacked packed;
    const std::optional<uint32_t> contentCrc = FileCrc32(source);
    if (!contentCrc)
        return PackResult::CannotOpenInput;
    packed.Crc = *contentCrc;

    const fs::path compressed = container.NewTempFileName();
    const CompressFileResult compression = CompressFile(source, compressed);
    if (compression != CompressFileResult::Ok) {
        // Only a codec failure leaves a partial file of ours behind.
        if (compression == CompressFileResult::CodecFailed)
            DeleteFileIfExists(compressed);
        return PackResultOf(compression);
    }
    packed.File = compressed;

    const std::string& key = PasswordToUse(container, password);
    if (!key.empty()) {
        packed.File = container.NewTempFileName();
        // A failed encryption removes the file it created.
        const int encrypted = EncryptFileWithPassword(compressed, packed.File, key);
        DeleteFileIfExists(compressed);
        if (encrypted != 0)
            return PackResult::CannotEncrypt;
        packed.Encrypted = true;
        packed.Password = key;
    }
    const std::optional<uint32_t> fileCrc = FileCrc32(packed.File);
    if (!fileCrc) {
        DeleteFileIfExists(packed.File);
        return PackResult::CannotCreateTemporary;
    }
    packed.FileCrc = *fileCrc;
    Commit(packed, *item);
    return PackResult::Ok;
}

}  // namespace pyxa
