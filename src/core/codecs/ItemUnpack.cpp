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
UnpackResult ReadPackedData(TContainer& container, TItemInfo& item, TMemoryStream& packed)
{
    if (item.IsStored())
        return CopyItemBlockToStream(container, item, &packed, false);
    if (!FileExists(item.TmpCmpFile) || !packed.LoadFromFile(item.TmpCmpFile))
        return UnpackResult::TemporaryNotFound;
    return UnpackResult::Ok;
}

UnpackResult UnpackInMemory(TContainer& container, TItemInfo& item, const fs::path& destination,
                            bool keepOnCrcError)
{
    TPreparedUnpack prepared = PrepareInMemoryUnpack(container, item);
    if (prepared.Result != UnpackResult::Ok)
        return prepared.Result;
    return FinishInMemoryUnpack(prepared, destination, keepOnCrcError);
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

TPreparedUnpack PrepareInMemoryUnpack(TContainer& container, TItemInfo& item)
{
    TPreparedUnpack prepared;
    prepared.Crc = item.Crc;
    prepared.Date = OutputDate(container, item);
    prepared.Result = ReadPackedData(container, item, prepared.Compressed);
    if (prepared.Result == UnpackResult::Ok)
        prepared.Result = UnpackResultOf(DecryptItemStream(container, item, prepared.Compressed));
    return prepared;
}

UnpackResult FinishInMemoryUnpack(TPreparedUnpack& prepared, const fs::path& destination, bool keepOnCrcError)
{
    return UnpackResultOf(
        InflateIntoPlace(prepared.Compressed, prepared.Crc, keepOnCrcError, destination, prepared.Date));
}

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
