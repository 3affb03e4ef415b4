#pragma once
// The product's own fixed texts, kept in one place.

namespace pyxa {

inline constexpr const char* kProductTitle = "Pyxa - File Packer";
inline constexpr const char* kProductName = "Pyxa";
inline constexpr const char* kMakerFolderName = "PyxaProject";
inline constexpr const char* kProductFolderName = "Pyxa";
inline constexpr const char* kProductSection = "Pyxa";
inline constexpr const char* kContainerExtension = ".pyxa";
inline constexpr const char* kVersionText = "version 1.6 (build 016000)";
// The two lines of product information in the about box.
inline constexpr const char* kProductInformation1 = "Files and folders packed in one container.";
inline constexpr const char* kProductInformation2 = "Compressed, checked and optionally encrypted with AES.";
// Characters of random file names: valid and unambiguous on every file system.
inline constexpr const char* kRandomTextAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";

}  // namespace pyxa
