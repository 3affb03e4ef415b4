#pragma once
// Base64 bit grouping (RFC 4648) over a fixed permutation of the 64 symbols.

#include <string>

namespace pyxa {

std::string ShuffledBase64Encode(const std::string& bytes);
// Decodes whole groups of 4 characters; a shorter tail is ignored.
std::string ShuffledBase64Decode(const std::string& text);

// The "Password" attribute of a restricted folder: the encoding applied twice, first to the
// password's UTF-16 code units (low byte first), then to the ASCII text of that step.
std::string EncodeFolderPassword(const std::string& utf8Password);
std::string DecodeFolderPassword(const std::string& attribute);

}  // namespace pyxa
