#pragma once
// Encrypting and decrypting items that are already in the catalogue. Encryption wraps an item's
// packed data (its zlib stream) in the encrypted stream as it is; decryption takes the wrapper off
// again, so the zlib stream comes back byte for byte. The new packed data lies in a temporary file
// that wins at the next save; a stored item keeps its Index (it becomes replaced), and its content
// checksum Crc never changes.

#include "container/Container.h"
#include "support/Results.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace pyxa {

// Encrypts one file item with the password. The item changes only on success: Encrypted, TmpPass
// (the password), TmpCmpFile and TmpCrcFile. Until the encrypted copy is complete the item's data
// stays where it was.
EncryptItemResult EncryptStoredItem(TContainer& container, TItemInfo* item, const std::string& password);
// Decrypts one file item. A password that opened the item before (TmpPass) wins over the one given.
// The item changes only on success (Encrypted and TmpPass cleared, TmpCmpFile and TmpCrcFile
// renewed); a wrong password only forgets the TmpPass that failed. Content whose CRC-32 differs
// from Crc is logged as a warning and still decrypted.
DecryptItemResult DecryptStoredItem(TContainer& container, TItemInfo* item, const std::string& password);

// Asked when a run reaches a restricted folder that is not expanded: true when it may be walked
// into. A front end passes one to open the folder in its view, which runs the restriction check;
// without one the run runs that check (OpenRestrictedFolder) itself. A folder that stays closed is
// skipped with its subtree.
using TFolderOpener = std::function<bool(TTreeNode& folder)>;

struct TCryptRunTotals {
    int32_t Processed = 0;  // file items met
    int32_t Done = 0;       // file items changed
    bool Cancelled = false;
};

// Encrypts every file in the subtree of start (every file of the catalogue when start is null)
// with the password, reporting through the host. A locked or empty catalogue is left alone.
TCryptRunTotals EncryptItems(TContainer& container, TTreeNode* start, const std::string& password,
                             const TFolderOpener& openFolder = {});
TCryptRunTotals DecryptItems(TContainer& container, TTreeNode* start, const std::string& password,
                             const TFolderOpener& openFolder = {});

// The engine halves of the commands of the encryption menu. The password is the automatic one
// when it is set (for "Decrypt this item" the item's own TmpPass first), else the user's answer.
// Nothing happens while the container is locked, when the command's need is not met or when the
// prompt is cancelled; then no totals are returned.
// "Encrypt folder and subfolders" and "Decrypt folder and subfolders": the selected node, or the
// whole catalogue when nothing is selected.
std::optional<TCryptRunTotals> EncryptFolderCommand(TContainer& container, const TFolderOpener& openFolder = {});
std::optional<TCryptRunTotals> DecryptFolderCommand(TContainer& container, const TFolderOpener& openFolder = {});
// "Encrypt this item" and "Decrypt this item": the selected file.
std::optional<TCryptRunTotals> EncryptItemCommand(TContainer& container);
std::optional<TCryptRunTotals> DecryptItemCommand(TContainer& container);

}  // namespace pyxa
