#include "container/IntegrityTest.h"

#include "container/Layout.h"
#include "support/FileUtil.h"

namespace pyxa {

namespace {

enum class TWalkStep {
    Next,        // go on at the new position
    WellFormed,  // the index block named by the header ends exactly at the end of the file
    Broken,      // a block runs past the end of the file or cannot be read
};

// Moves length bytes further; a length that is negative or runs past the end breaks the walk, so a
// hostile length is never trusted.
bool SkipWithinFile(TFileStream& file, int64_t fileSize, int64_t length)
{
    const int64_t position = file.Position();
    return length >= 0 && length <= fileSize - position && file.Seek(position + length);
}

TWalkStep SkipItemBlock(TFileStream& file, int64_t fileSize)
{
    int64_t length = 0;
    uint32_t dataCrc = 0;
    if (!ReadInt64(file, length) || !ReadUInt32(file, dataCrc) || !SkipWithinFile(file, fileSize, length))
        return TWalkStep::Broken;
    return TWalkStep::Next;
}

TWalkStep SkipIndexBlock(TFileStream& file, int64_t fileSize)
{
    TIndexBlockHeader header;
    if (!ReadIndexBlockHeader(file, header) || !SkipWithinFile(file, fileSize, header.CompressedLength))
        return TWalkStep::Broken;
    return file.Position() == fileSize ? TWalkStep::WellFormed : TWalkStep::Next;
}

// One step of the walk: a known block is skipped whole; anything else, including an index
// signature away from the header's index offset, moves on by the 5 bytes read.
TWalkStep WalkStep(TFileStream& file, int64_t fileSize, int64_t indexOffset)
{
    const int64_t start = file.Position();
    TSignature signature {};
    if (!file.ReadExact(signature.data(), kSignatureSize))
        return TWalkStep::Broken;
    if (signature == BlockSignature(TBlockKind::Item))
        return SkipItemBlock(file, fileSize);
    if (signature == BlockSignature(TBlockKind::Index) && start == indexOffset)
        return SkipIndexBlock(file, fileSize);
    return TWalkStep::Next;
}

}  // namespace

TestResult TestStructure(const TContainer& container)
{
    if (!FileExists(container.FileName))
        return TestResult::FileNotFound;
    TFileStream file;
    if (!file.Open(container.FileName, TFileMode::Read))
        return TestResult::CannotOpenFile;
    int64_t indexOffset = 0;
    if (!ReadSignature(file, TBlockKind::Header) || !ReadInt64(file, indexOffset))
        return TestResult::StructureError;
    const int64_t fileSize = file.Size();
    while (file.Position() < fileSize) {
        switch (WalkStep(file, fileSize, indexOffset)) {
        case TWalkStep::Next: break;
        case TWalkStep::WellFormed: return TestResult::Ok;
        case TWalkStep::Broken: return TestResult::StructureError;
        }
    }
    return TestResult::StructureError;
}

}  // namespace pyxa
