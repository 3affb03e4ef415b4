#pragma once
// The record of one catalogue item.

#include "container/DateTimeZ.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace pyxa {

struct TItemInfo {
    std::string Name;
    bool IsFolder = false;
    int64_t Size = 0;                      // files: size as added; folders: 0
    TDateTimeZ Added;
    TDateTimeZ Original;
    std::string Comments;
    int32_t Color = 0;                     // 0x00BBGGRR
    int32_t Icon = 0;
    bool Encrypted = false;                // files: encrypted stream; folders: access-restricted
    int64_t Index = -1;                    // offset of the data block; -1 while pending
    uint32_t Crc = 0;                      // CRC-32 of the content before packing
    std::filesystem::path TmpCmpFile;      // packed data of a pending or replaced item
    uint32_t TmpCrcFile = 0;               // CRC-32 of the packed data
    std::string TmpPass;                   // folders: access password; files: last working password

    bool IsStored() const { return !IsFolder && Index > 0 && TmpCmpFile.empty(); }
};

}  // namespace pyxa
