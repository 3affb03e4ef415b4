#pragma once
// The item pipeline. Packing turns a disk file into an item's packed data (the zlib stream of the
// file, encrypted when a password applies) in a temporary file and fills the item's checksums and
// encryption state. Unpacking takes the packed data from the container's item block (stored item)
// or the item's temporary file (pending item), decrypts, decompresses, checks the CRC-32 and puts
// the file in place. Items within the in-memory limit go through memory streams, larger ones
// through temporary files in the working folder, so their memory use stays constant.

#include "container/Container.h"
#include "container/ItemInfo.h"
#include "support/DateTime.h"
#include "support/Results.h"
#include "support/Stream.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace pyxa {

// Items whose Size is at most this many bytes (or -1, unknown) are packed and unpacked in memory.
inline constexpr int64_t kInMemoryLimit = 26214400;
// Decompressing into memory stops beyond this many bytes: twice the largest in-memory item leaves
// room for a file that grew while it was added, and damaged or hostile data cannot fill memory.
inline constexpr int64_t kInMemoryOutputLimit = 2 * kInMemoryLimit;

bool WithinInMemoryLimit(int64_t size);

// Pack a disk file into the item (a null item gives InvalidItem). An empty password means the
// automatic password when one is set, else no encryption. The item's Crc, Encrypted, TmpPass,
// TmpCmpFile and TmpCrcFile change only on success; Index is left to the caller.
PackResult PackItemInMemory(TContainer& container, const std::filesystem::path& source,
                            const std::string& password, TItemInfo* item);
PackResult PackItemViaFiles(TContainer& container, const std::filesystem::path& source,
                            const std::string& password, TItemInfo* item);

// Restores the item to destination. With keepOnCrcError an output whose CRC-32 differs from Crc is
// still put in place and CrcError returned; otherwise it is removed. A pending or replaced item is
// read from its temporary file, a stored one from its block. An item within the in-memory limit
// replaces a destination file that may be written (owner write permission); a larger item never
// replaces an existing destination (CannotSaveOutput).
UnpackResult UnpackItem(TContainer& container, TItemInfo& item, const std::filesystem::path& destination,
                        bool keepOnCrcError);

// Unpacking an item within the in-memory limit in two halves, so that the second can run on
// another thread. The first, on the caller's thread, reads the packed data and decrypts it (asking
// for the password when needed); the second decompresses, checks the CRC-32 and puts the file in
// place, touching neither the container nor its host.
struct TPreparedUnpack {
    UnpackResult Result = UnpackResult::Ok;  // the first half's failure, if any
    TMemoryStream Compressed;                // the item's zlib stream
    uint32_t Crc = 0;
    std::optional<TDateTime> Date;           // the date the output gets, if any
};
TPreparedUnpack PrepareInMemoryUnpack(TContainer& container, TItemInfo& item);
UnpackResult FinishInMemoryUnpack(TPreparedUnpack& prepared, const std::filesystem::path& destination,
                                  bool keepOnCrcError);

// Copy the packed data of the item's block out of the container into a new file (which must not
// exist) or into a stream at its position (the stream is set to 0 at the end). Results 0 to -6;
// a block length that is negative or runs past the end of the container is a SignatureError.
// The file is removed unless the result is Ok.
UnpackResult CopyItemBlockToFile(const TContainer& container, const TItemInfo& item,
                                 const std::filesystem::path& path, bool checkCrc);
UnpackResult CopyItemBlockToStream(const TContainer& container, const TItemInfo& item, TStream* stream,
                                   bool checkCrc);

enum class DecodeResult : int {
    Ok = 0,
    WrongPassword = 1,    // or damaged encrypted data
    NoPackedInput = -1,
    CannotDecompress = -2,
    CannotDecrypt = -3,   // the prompt was cancelled, or decryption could not start
    CannotSave = -4,
    CrcMismatch = -5,
};

// Decode packed data into destination. Encrypted items are opened with TmpPass, else the automatic
// password, else a password asked from the user; TmpPass keeps a password that worked and is
// cleared by one that failed. The file form reads a packed file, deletes it when the item is
// stored (it was a copy of the block) and never replaces an existing destination; the stream form
// reads the whole packed stream and replaces a writable destination file.
DecodeResult DecodeItemFile(TContainer& container, TItemInfo& item, const std::filesystem::path& packed,
                            bool keepOnCrcError, const std::filesystem::path& destination);
// The stream form, in two halves: decrypting in place when the item is encrypted, then
// decompressing, checking and writing, which needs neither the container nor the host.
DecodeResult DecryptItemStream(TContainer& container, TItemInfo& item, TMemoryStream& packed);
DecodeResult InflateIntoPlace(TStream& compressed, uint32_t crc, bool keepOnCrcError,
                              const std::filesystem::path& destination, std::optional<TDateTime> date);

// The date an output gets: the item's original date when the container restores dates.
std::optional<TDateTime> OutputDate(const TContainer& container, const TItemInfo& item);
// Whether decoding the item would ask the user for a password.
bool AsksForPassword(const TContainer& container, const TItemInfo& item);

}  // namespace pyxa
