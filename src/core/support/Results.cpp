#include "support/Results.h"

#include "support/Host.h"

namespace pyxa {

std::string ResultMessage(OpenResult code)
{
    switch (code) {
    case OpenResult::Ok: return "Operation completed";
    case OpenResult::FileNotFound: return "File not found";
    case OpenResult::CannotOpenFile: return "Cannot open file";
    case OpenResult::CannotCreateTemporary: return "Cannot create temporary file";
    case OpenResult::CannotDecompress: return "Cannot decompress file";
    case OpenResult::CrcError: return "CRC error";
    case OpenResult::CannotReadXml: return "Cannot read XML data";
    case OpenResult::MainSignatureError: return "Main signature error";
    case OpenResult::IndexSignatureError: return "Index signature error";
    }
    return "Unknown error";
}

std::string ResultMessage(SaveResult code)
{
    switch (code) {
    case SaveResult::Ok: return "File saved.";
    case SaveResult::NoTarget: return "";
    case SaveResult::CannotCreateContainer: return "Cannot create temporary file";
    case SaveResult::CannotOpenContainer: return "Cannot open Pyxa file";
    case SaveResult::CannotCreateItemTemporary: return "Cannot create temporary file";
    case SaveResult::CannotOpenItemTemporary: return "Cannot open temporary file";
    case SaveResult::CannotReadIndexTemporary: return "Cannot read temporary file";
    case SaveResult::CannotCompressIndex: return "Cannot compress file";
    case SaveResult::MainSignatureError: return "Main signature error";
    case SaveResult::ContainerMissing: return "Pyxa file not found";
    case SaveResult::CannotWriteContainer: return "Cannot write Pyxa file";
    }
    return "Unknown error";
}

std::string ResultMessage(TestResult code)
{
    switch (code) {
    case TestResult::Ok: return "";
    case TestResult::FileNotFound: return "Pyxa file not found";
    case TestResult::CannotOpenFile: return "Cannot open Pyxa file";
    case TestResult::StructureError: return "File structure error";
    }
    return "Unknown error";
}

std::string ResultMessage(PackResult code)
{
    switch (code) {
    case PackResult::Ok: return "";
    case PackResult::InputNotFound: return "Input file not found";
    case PackResult::InvalidItem: return "Invalid item";
    case PackResult::CannotOpenInput: return "Cannot open input file";
    case PackResult::CannotCreateTemporary: return "Cannot create temporary file";
    case PackResult::CannotCompress: return "Cannot compress file";
    case PackResult::CannotEncrypt: return "Cannot encrypt file";
    }
    return "Unknown error";
}

std::string ResultMessage(UnpackResult code)
{
    switch (code) {
    case UnpackResult::Ok: return "";
    case UnpackResult::ContainerNotFound: return "Pyxa file not found";
    case UnpackResult::NotAddedYet: return "File not added yet";
    case UnpackResult::CannotOpenContainer: return "Cannot open Pyxa file";
    case UnpackResult::CannotCreateTemporary: return "Cannot create temporary file";
    case UnpackResult::SignatureError: return "File signature error";
    case UnpackResult::PackedCrcError: return "CRC error (in compressed file)";
    case UnpackResult::TemporaryNotFound: return "Temporary file not found";
    case UnpackResult::CannotDecompress: return "Cannot decompress file";
    case UnpackResult::CannotDecrypt: return "Cannot decrypt file";
    case UnpackResult::CannotSaveOutput: return "Cannot save output file";
    case UnpackResult::CrcError: return "CRC error";
    case UnpackResult::InvalidPassword: return "Invalid password";
    }
    return "Unknown error";
}

std::string ResultMessage(EncryptItemResult code)
{
    switch (code) {
    case EncryptItemResult::Ok: return "";
    case EncryptItemResult::InvalidItem: return "Invalid item";
    case EncryptItemResult::AlreadyEncrypted: return "";
    case EncryptItemResult::ContainerNotFound: return "Pyxa file not found";
    case EncryptItemResult::CannotOpenContainer: return "Cannot open Pyxa file";
    case EncryptItemResult::CannotCreateTemporary: return "Cannot create temporary file";
    case EncryptItemResult::SignatureError: return "File signature error";
    case EncryptItemResult::PackedCrcError: return "CRC error (in compressed file)";
    case EncryptItemResult::TemporaryNotFound: return "Temporary file not found";
    case EncryptItemResult::CannotEncrypt: return "Error encrypting file";
    }
    return "Unknown error";
}

std::string ResultMessage(DecryptItemResult code)
{
    switch (code) {
    case DecryptItemResult::Ok: return "";
    case DecryptItemResult::InvalidItem: return "Invalid item";
    case DecryptItemResult::NotEncrypted: return "";
    case DecryptItemResult::ContainerNotFound: return "Pyxa file not found";
    case DecryptItemResult::CannotOpenContainer: return "Cannot open Pyxa file";
    case DecryptItemResult::CannotCreateTemporary: return "Cannot create temporary file";
    case DecryptItemResult::SignatureError: return "File signature error";
    case DecryptItemResult::PackedCrcError: return "CRC error (in compressed file)";
    case DecryptItemResult::TemporaryNotFound: return "Temporary file not found";
    case DecryptItemResult::CannotDecrypt: return "Cannot decrypt file";
    case DecryptItemResult::InvalidPassword: return "Invalid password";
    case DecryptItemResult::CannotDecompress: return "Cannot decompress file";
    }
    return "Unknown error";
}

int ResultIcon(PackResult code)
{
    return code == PackResult::CannotEncrypt ? liPassword : liError;
}

int ResultIcon(UnpackResult code)
{
    return code == UnpackResult::CannotDecrypt || code == UnpackResult::InvalidPassword ? liPassword : liError;
}

int ResultIcon(EncryptItemResult code)
{
    return code == EncryptItemResult::CannotEncrypt ? liPassword : liError;
}

int ResultIcon(DecryptItemResult code)
{
    return code == DecryptItemResult::CannotDecrypt || code == DecryptItemResult::InvalidPassword ? liPassword
                                                                                                  : liError;
}

}  // namespace pyxa
