#pragma once
// UTF-8 text to UTF-16 code units and back. Ill-formed input never fails: each maximal ill-formed
// UTF-8 subsequence and each unpaired surrogate becomes U+FFFD.

#include <string>
#include <string_view>

namespace pyxa {

std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view units);

}  // namespace pyxa
