#pragma once
// Result codes of the container and item routines, each mapped to its one fixed message.

#include <string>

namespace pyxa {

// CompressFile / DecompressFile.
enum class CompressFileResult : int {
    Ok = 0,
    SourceNotFound = -1,
    CannotOpenSource = -2,
    CannotCreateDestination = -3,
    CodecFailed = -4,
};

// CompressStream / DecompressStream.
enum class CompressStreamResult : int {
    Ok = 0,
    MissingStream = -1,
    CodecFailed = -2,
};

// ReadContainer.
enum class OpenResult : int {
    Ok = 0,
    FileNotFound = -1,
    CannotOpenFile = -2,
    CannotCreateTemporary = -3,
    CannotDecompress = -4,
    CrcError = -5,
    CannotReadXml = -6,
    MainSignatureError = -7,
    IndexSignatureError = -8,
};

// SaveContainer.
enum class SaveResult : int {
    Ok = 0,
    NoTarget = -1,
    CannotCreateContainer = -2,
    CannotOpenContainer = -3,
    CannotCreateItemTemporary = -4,
    CannotOpenItemTemporary = -5,
    CannotReadIndexTemporary = -6,
    CannotCompressIndex = -8,
    MainSignatureError = -9,
    ContainerMissing = -10,  // stored items cannot be copied: their container is gone
    CannotWriteContainer = -11,  // a write failed, e.g. on a full disk
};

// TestStructure.
enum class TestResult : int {
    Ok = 0,
    FileNotFound = -1,
    CannotOpenFile = -2,
    StructureError = -3,
};

// PackItemInMemory / PackItemViaFiles.
enum class PackResult : int {
    Ok = 0,
    InputNotFound = -1,
    InvalidItem = -2,
    CannotOpenInput = -3,
    CannotCreateTemporary = -4,
    CannotCompress = -5,
    CannotEncrypt = -6,
};

// UnpackItem and the block readers.
enum class UnpackResult : int {
    Ok = 0,
    ContainerNotFound = -1,
    NotAddedYet = -2,
    CannotOpenContainer = -3,
    CannotCreateTemporary = -4,
    SignatureError = -5,
    PackedCrcError = -6,
    TemporaryNotFound = -7,
    CannotDecompress = -8,
    CannotDecrypt = -9,
    CannotSaveOutput = -10,
    CrcError = -11,
    InvalidPassword = -12,
};

// EncryptStoredItem. The failures of reading the item's packed data keep the numbering of the
// block reader moved down by two.
enum class EncryptItemResult : int {
    Ok = 0,
    InvalidItem = -1,
    AlreadyEncrypted = -2,  // counted, never logged
    ContainerNotFound = -3,
    CannotOpenContainer = -5,
    CannotCreateTemporary = -6,
    SignatureError = -7,
    PackedCrcError = -8,
    TemporaryNotFound = -9,
    CannotEncrypt = -10,
};

// DecryptStoredItem: the same reading failures, then those of taking the encryption off.
enum class DecryptItemResult : int {
    Ok = 0,
    InvalidItem = -1,
    NotEncrypted = -2,  // counted, never logged
    ContainerNotFound = -3,
    CannotOpenContainer = -5,
    CannotCreateTemporary = -6,
    SignatureError = -7,
    PackedCrcError = -8,
    TemporaryNotFound = -9,
    CannotDecrypt = -10,
    InvalidPassword = -11,
    CannotDecompress = -12,
};

std::string ResultMessage(OpenResult code);
std::string ResultMessage(SaveResult code);
std::string ResultMessage(TestResult code);
std::string ResultMessage(PackResult code);
std::string ResultMessage(UnpackResult code);
// Empty for the results that are not logged.
std::string ResultMessage(EncryptItemResult code);
std::string ResultMessage(DecryptItemResult code);
// Event-log image of a failure (3 error, 6 password or encryption).
int ResultIcon(PackResult code);
int ResultIcon(UnpackResult code);
int ResultIcon(EncryptItemResult code);
int ResultIcon(DecryptItemResult code);

}  // namespace pyxa
