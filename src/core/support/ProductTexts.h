#pragma once
// The product's own fixed texts, kept in one place.

namespace pyxa {

inline constexpr const char* kProductTitle = "Pyxa - File Packer";
inline constexpr const char* kProductName = "Pyxa";
inline constexpr const char* kMakerFolderName = "PyxaProject";
inline constexpr const char* kProductFolderName = "Pyxa";
inline constexpr const char* kProductSection = "Pyxa";
inline constexpr const char* kContainerExtension = ".pyxa";
// Characters of random file names: valid and unambiguous on every file system.
inline constexpr const char* kRandomTextAlphabet = "abcdefghijklmnopqrstuvwxyz0123456789";

}  // namespace pyxa
