#include "codecs/ItemPipeline.h"

#include "support/FileUtil.h"

namespace pyxa {

namespace fs = std::filesystem;

namespace {

UnpackResult UnpackResultOf(DecodeResult result)
{
    switch (result) {
    case DecodeResult::Ok: return UnpackResult::Ok;
    case DecodeResult::WrongPassword: return UnpackResult::InvalidPassword;
    case DecodeResult::NoPackedInput: return UnpackResult::TemporaryNotFound;
    case DecodeResult::CannotDecompress: return UnpackResult::CannotDecompress;
    case DecodeResult::CannotDecrypt: return UnpackResult::CannotDecrypt;
    case DecodeResult::CannotSave: return UnpackResult::CannotSaveOutput;
    case DecodeResult::CrcMismatch: return UnpackResult::CrcError;
    }
    return UnpackResult::CannotDecompress;
}

// A stored item is read from its block; a pending or replaced one from its temporary file, which
// holds its newest content.
UnpackResult UnpackInMemory(TContainer& container, TItemInfo& item, const fs::path& destination,
                            bool keepOnCrcError)
{
    TMemoryStream packed;
    if (item.IsStored()) {
        if (const UnpackResult copied = CopyItemBlockToStream(container, item, &packed, false);
            copied != UnpackResult::Ok)
            return copied;
    } else if (!FileExists(item.TmpCmpFile) || !packed.LoadFromFile(item.TmpCmpFile)) {
        return UnpackResult::TemporaryNotFound;
    }
    return UnpackResultOf(DecodeItemStream(container, item, &packed, keepOnCrcError, destination));
}

UnpackResult UnpackViaFiles(TContainer& container, TItemInfo& item, const fs::path& destination,
                            bool keepOnCrcError)
{
    fs::path packed = item.TmpCmpFile;
    if (item.IsStored()) {
        packed = container.NewTempFileName();
        if (const UnpackResult copied = CopyItemBlockToFile(container, item, packed, false);
            copied != UnpackResult::Ok)
            return copied;
    } else if (!FileExists(packed)) {
        return UnpackResult::TemporaryNotFound;
    }
    return UnpackResultOf(DecodeItemFile(container, item, packed, keepOnCrcError, destination));
}

}  // namespace

bool WithinInMemoryLimit(int64_t size)
{
    return size <= kInMemoryLimit;
}

UnpackResult UnpackItem(TContainer& container, TItemInfo& item, const fs::path& destination, bool keepOnCrcError)
{
    if (WithinInMemoryLimit(item.Size))
        return UnpackInMemory(container, item, destination, keepOnCrcError);
    return UnpackViaFiles(container, item, destination, keepOnCrcError);
}

}  // namespace pyxa
