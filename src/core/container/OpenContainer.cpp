#include "container/OpenContainer.h"

#include "codecs/Compression.h"
#include "codecs/Crc32.h"
#include "container/IndexDocument.h"
#include "container/Iso8601.h"
#include "container/Layout.h"
#include "protection/ReadOnlyLock.h"
#include "support/FileUtil.h"
#include "support/ScratchFile.h"

#include <algorithm>
#include <strings.h>
#include <pugixml.hpp>

namespace pyxa {

namespace fs = std::filesystem;

namespace {

// Copies the compressed index out of the container into the scratch file.
OpenResult CopyCompressedIndex(const fs::path& fileName, const fs::path& scratch, uint32_t& indexCrc)
{
    TFileStream file;
    if (!file.Open(fileName, TFileMode::Read))
        return OpenResult::CannotOpenFile;
    if (!ReadSignature(file, TBlockKind::Header))
        return OpenResult::MainSignatureError;
    int64_t indexOffset = 0;
    if (!ReadInt64(file, indexOffset) || indexOffset < kHeaderSize || indexOffset >= file.Size() ||
        !file.Seek(indexOffset))
        return OpenResult::IndexSignatureError;
    TFileStream compressed;
    if (!compressed.Open(scratch, TFileMode::CreateNew))
        return OpenResult::CannotCreateTemporary;
    TIndexBlockHeader header;
    if (!ReadSignature(file, TBlockKind::Index) || !ReadIndexBlockHeader(file, header))
        return OpenResult::IndexSignatureError;
    // A length beyond the end of the file copies what is there; decompression and the CRC judge it.
    const int64_t available = std::max<int64_t>(0, file.Size() - file.Position());
    const int64_t length = std::min<int64_t>(header.CompressedLength, available);
    if (file.CopyTo(compressed, length) < 0 || !compressed.Close())
        return OpenResult::CannotDecompress;
    indexCrc = header.IndexCrc;
    return OpenResult::Ok;
}

OpenResult LoadIndexDocument(const fs::path& documentFile, pugi::xml_document& document)
{
    const pugi::xml_parse_result parsed = document.load_file(documentFile.c_str(), pugi::parse_default);
    if (!parsed || !document.document_element())
        return OpenResult::CannotReadXml;
    return OpenResult::Ok;
}

void ReadRootAttributes(TContainer& container, const pugi::xml_node& root)
{
    const pugi::xml_attribute date = root.attribute("Date");
    container.LastSaved = date ? IsoToDateTimeZ(date.value()) : TDateTimeZ {};
    // A locked container is locked through the same path as the user's command.
    const pugi::xml_attribute locked = root.attribute("Locked");
    if (locked && strcasecmp(locked.value(), "true") == 0)
        ApplyReadOnlyLock(container, true);
}

}  // namespace

OpenResult ReadContainer(TContainer& container, const fs::path& fileName)
{
    container.CloseCatalogue(true);
    container.LastSaved = TDateTimeZ {};
    if (!FileExists(fileName))
        return OpenResult::FileNotFound;

    TScratchFile compressed(container.NewTempFileName());
    uint32_t indexCrc = 0;
    if (const OpenResult copied = CopyCompressedIndex(fileName, compressed.Path(), indexCrc);
        copied != OpenResult::Ok)
        return copied;

    TScratchFile documentFile(container.NewTempFileName());
    if (DecompressFile(compressed.Path(), documentFile.Path()) != CompressFileResult::Ok)
        return OpenResult::CannotDecompress;
    DeleteFileIfExists(compressed.Path());
    const std::optional<uint32_t> documentCrc = FileCrc32(documentFile.Path());
    if (!documentCrc || *documentCrc != indexCrc)
        return OpenResult::CrcError;

    pugi::xml_document document;
    if (const OpenResult loaded = LoadIndexDocument(documentFile.Path(), document); loaded != OpenResult::Ok)
        return loaded;
    ReadRootAttributes(container, document.document_element());
    ReadIndexTree(document, container.Tree);

    container.Host.SetStatusText("Last saved: " + DateTimeZToText(container.LastSaved));
    container.SetModified(false, false);
    container.FileName = fs::absolute(fileName).lexically_normal();
    container.Host.FileNameChanged();
    return OpenResult::Ok;
}

OpenResult LoadContainer(TContainer& container)
{
    THost& host = container.Host;
    host.SetStatusText("Loading XML index, please wait...");
    host.Display("Loading XML index", "", liInformation, false, false);
    host.ProcessMessages();
    const OpenResult result = ReadContainer(container, container.FileNameTmp);
    container.FileNameTmp.clear();
    if (result == OpenResult::Ok) {
        host.Display(ResultMessage(result), "", liSuccess, false, false);
    } else {
        host.Display(ResultMessage(result), "Loading index", liError, false, true);
        host.SetStatusText("");
    }
    return result;
}

}  // namespace pyxa
