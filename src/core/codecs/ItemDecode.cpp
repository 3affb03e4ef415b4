#include "codecs/ItemPipeline.h"

#include "codecs/AesLib.h"
#include "codecs/Compression.h"
#include "codecs/Crc32.h"
#include "codecs/ItemOutput.h"
#include "protection/AutomaticPassword.h"
#include "support/FileUtil.h"

#include <optional>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

// A memory sink that refuses to grow past its bound.
class TBoundedMemoryStream : public TMemoryStream {
public:
    explicit TBoundedMemoryStream(int64_t bound) : FBound(bound) {}
    bool Write(const void* buffer, int64_t count) override
    {
        return count <= FBound - Position() && TMemoryStream::Write(buffer, count);
    }

private:
    int64_t FBound;
};

TPasswordRequest PasswordRequestFor(const TContainer& container, const TItemInfo& item)
{
    TPasswordRequest request;
    request.Mode = 2;
    request.Label = "The file \"" + item.Name + "\" is encrypted...";
    request.ShowAutomatic = true;
    request.AutomaticChecked = container.Extracting;
    return request;
}

// The password to try: the one that last opened this item, else the automatic password, else the
// user's answer. Empty when the user cancelled.
std::optional<std::string> PasswordFor(TContainer& container, const TItemInfo& item)
{
    if (!item.TmpPass.empty())
        return item.TmpPass;
    if (!container.GlobalPassword.empty())
        return container.GlobalPassword;
    const TPasswordAnswer answer = container.Host.AskPassword(PasswordRequestFor(container, item));
    if (!answer.Accepted) {
        // A cancelled prompt stops a running batch, whatever the front end did itself.
        container.Host.RequestCancel();
        return std::nullopt;
    }
    if (answer.Automatic)
        ApplyGlobalPassword(container, answer.Password);
    return answer.Password;
}

// Keeps a password that opened the item and forgets one that did not, so that a stale password is
// not tried again.
DecodeResult RememberDecryption(TItemInfo& item, const std::string& password, int decrypted)
{
    if (decrypted == 0) {
        item.TmpPass = password;
        return DecodeResult::Ok;
    }
    item.TmpPass.clear();
    return decrypted < 0 ? DecodeResult::CannotDecrypt : DecodeResult::WrongPassword;
}

// An output is put in place when it is right, or when the caller keeps outputs with a CRC error.
bool Deliverable(DecodeResult result, bool keepOnCrcError)
{
    return result == DecodeResult::Ok || (keepOnCrcError && result == DecodeResult::CrcMismatch);
}

DecodeResult DecompressedFile(const fs::path& packed, const fs::path& output)
{
    return DecompressFile(packed, output) == CompressFileResult::Ok ? DecodeResult::Ok
                                                                    : DecodeResult::CannotDecompress;
}

// Decrypts when the item is encrypted, then decompresses into output.
DecodeResult DecodePackedFile(TContainer& container, TItemInfo& item, const fs::path& packed,
                              const fs::path& output)
{
    if (!item.Encrypted)
        return DecompressedFile(packed, output);
    const std::optional<std::string> password = PasswordFor(container, item);
    if (!password)
        return DecodeResult::CannotDecrypt;
    const fs::path plain = container.NewTempFileName();
    // A failed decryption removes what it wrote.
    const DecodeResult decrypted =
        RememberDecryption(item, *password, DecryptFileWithPassword(packed, plain, *password));
    if (decrypted != DecodeResult::Ok)
        return decrypted;
    const DecodeResult result = DecompressedFile(plain, output);
    DeleteFileIfExists(plain);
    return result;
}

DecodeResult CheckedFileCrc(const fs::path& output, uint32_t expected)
{
    const std::optional<uint32_t> crc = FileCrc32(output);
    return crc && *crc == expected ? DecodeResult::Ok : DecodeResult::CrcMismatch;
}

}  // namespace

std::optional<TDateTime> OutputDate(const TContainer& container, const TItemInfo& item)
{
    if (container.RestoreOriginalDate && item.Original.Exists)
        return item.Original.DateTime;
    return std::nullopt;
}

bool AsksForPassword(const TContainer& container, const TItemInfo& item)
{
    return item.Encrypted && item.TmpPass.empty() && container.GlobalPassword.empty();
}

DecodeResult DecodeItemFile(TContainer& container, TItemInfo& item, const fs::path& packed, bool keepOnCrcError,
                            const fs::path& destination)
{
    if (!FileExists(packed))
        return DecodeResult::NoPackedInput;
    // A stored item's packed file is a copy of its block made for this decoding; a pending or
    // replaced item's temporary file is its only data and stays.
    const bool packedIsCopy = item.IsStored();
    const fs::path output = container.NewTempFileName();
    DecodeResult result = DecodePackedFile(container, item, packed, output);
    if (result == DecodeResult::Ok)
        result = CheckedFileCrc(output, item.Crc);
    bool placed = false;
    if (Deliverable(result, keepOnCrcError)) {
        if (const std::optional<TDateTime> date = OutputDate(container, item))
            SetFileDate(output, *date);
        placed = MoveIntoPlace(output, destination);
        if (!placed)
            result = DecodeResult::CannotSave;
    }
    if (!placed)
        DeleteFileIfExists(output);
    if (packedIsCopy)
        DeleteFileIfExists(packed);
    return result;
}

DecodeResult DecryptItemStream(TContainer& container, TItemInfo& item, TMemoryStream& packed)
{
    if (!item.Encrypted)
        return DecodeResult::Ok;
    const std::optional<std::string> password = PasswordFor(container, item);
    if (!password || !packed.Seek(0))
        return DecodeResult::CannotDecrypt;
    TMemoryStream plain;
    const DecodeResult decrypted =
        RememberDecryption(item, *password, DecryptStreamWithPassword(&packed, &plain, *password));
    if (decrypted == DecodeResult::Ok)
        packed = std::move(plain);
    return decrypted;
}

DecodeResult InflateIntoPlace(TStream& compressed, uint32_t crc, bool keepOnCrcError, const fs::path& destination,
                              std::optional<TDateTime> date)
{
    // Bounded, so that damaged or hostile data cannot fill memory.
    TBoundedMemoryStream content(kInMemoryOutputLimit);
    if (DecompressStream(&compressed, &content) != CompressStreamResult::Ok)
        return DecodeResult::CannotDecompress;
    DecodeResult result = StreamCrc32(content) == crc ? DecodeResult::Ok : DecodeResult::CrcMismatch;
    if (Deliverable(result, keepOnCrcError) && !WriteIntoPlace(content, destination, date))
        result = DecodeResult::CannotSave;
    return result;
}

}  // namespace pyxa
