#include "codecs/Compression.h"
#include "codecs/Crc32.h"
#include "container/IndexDocument.h"
#include "container/SaveSteps.h"
#include "support/FileUtil.h"

#include <cstdint>
#include <limits>

namespace pyxa {

TCompressedIndex::~TCompressedIndex()
{
    DeleteFileIfExists(File);
}

namespace {

const char* CompressFailureText(CompressFileResult result)
{
    switch (result) {
    case CompressFileResult::SourceNotFound: return "Input file not found";
    case CompressFileResult::CannotOpenSource: return "Cannot open input file";
    case CompressFileResult::CannotCreateDestination: return "Cannot create output file";
    default: return "Cannot compress file";
    }
}

}  // namespace

SaveResult BuildCompressedIndex(TContainer& container, TCompressedIndex& index)
{
    THost& host = container.Host;
    host.SetStatusText("Generating XML index...");
    host.Display("Generating XML index", "", liInformation, false, false);
    host.ProcessMessages();

    const std::filesystem::path document = container.NewTempFileName();
    index.File = container.NewTempFileName();
    CompressFileResult compressed = CompressFileResult::SourceNotFound;
    std::optional<uint32_t> crc;
    if (WriteIndexDocument(container.Tree, container.Locked(), document)) {
        crc = FileCrc32(document);
        compressed = crc ? CompressFile(document, index.File) : CompressFileResult::CannotOpenSource;
    }
    DeleteFileIfExists(document);
    const int64_t length = FileSizeOf(index.File);
    if (compressed == CompressFileResult::Ok && length > std::numeric_limits<uint32_t>::max())
        compressed = CompressFileResult::CodecFailed;
    if (compressed != CompressFileResult::Ok) {
        host.Display(CompressFailureText(compressed), "Temporary index file", liError, false, true);
        return SaveResult::CannotCompressIndex;
    }
    index.Header = TIndexBlockHeader {static_cast<uint32_t>(length), *crc, 0};
    return SaveResult::Ok;
}

SaveResult WriteIndexBlock(TFileStream& out, const TCompressedIndex& index)
{
    TFileStream in;
    if (!in.Open(index.File, TFileMode::Read))
        return SaveResult::CannotReadIndexTemporary;
    if (!WriteIndexBlockHeader(out, index.Header) || in.CopyTo(out, index.Header.CompressedLength) !=
                                                         static_cast<int64_t>(index.Header.CompressedLength))
        return SaveResult::CannotWriteContainer;
    return SaveResult::Ok;
}

}  // namespace pyxa
