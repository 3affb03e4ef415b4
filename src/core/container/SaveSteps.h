#pragma once
// The parts of a save, shared by the full and the index-only rewrite.

#include "container/Layout.h"
#include "container/SaveContainer.h"

namespace pyxa {

// The compressed index document in a scratch file of the working folder, deleted with this object.
class TCompressedIndex {
public:
    TCompressedIndex() = default;
    ~TCompressedIndex();
    TCompressedIndex(const TCompressedIndex&) = delete;
    TCompressedIndex& operator=(const TCompressedIndex&) = delete;

    std::filesystem::path File;
    TIndexBlockHeader Header;
    int64_t BlockSize() const { return kIndexBlockHeaderSize + Header.CompressedLength; }
};

// Writes the index document for the current tree and compresses it, logging any failure.
SaveResult BuildCompressedIndex(TContainer& container, TCompressedIndex& index);
// Writes the whole index block at the stream's position.
SaveResult WriteIndexBlock(TFileStream& out, const TCompressedIndex& index);

SaveResult WriteFullContainer(TContainer& container, const TSaveStepHook& afterStep);
SaveResult RewriteIndexOnly(TContainer& container, const TSaveStepHook& afterStep);

}  // namespace pyxa
