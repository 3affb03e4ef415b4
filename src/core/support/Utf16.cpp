#include "support/Utf16.h"

#include <cstdint>

namespace pyxa {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// A lead byte's sequence length and the range its second byte must lie in; the narrowed ranges
// exclude overlong forms, surrogates and code points above U+10FFFF.
struct TUtf8Lead {
    int Length = 0;
    uint8_t Low = 0x80;
    uint8_t High = 0xBF;
};

bool Utf8LeadOf(uint8_t lead, TUtf8Lead& info)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        info = {2, 0x80, 0xBF};
    else if (lead == 0xE0)
        info = {3, 0xA0, 0xBF};
    else if (lead == 0xED)
        info = {3, 0x80, 0x9F};
    else if (lead >= 0xE1 && lead <= 0xEF)
        info = {3, 0x80, 0xBF};
    else if (lead == 0xF0)
        info = {4, 0x90, 0xBF};
    else if (lead >= 0xF1 && lead <= 0xF3)
        info = {4, 0x80, 0xBF};
    else if (lead == 0xF4)
        info = {4, 0x80, 0x8F};
    else
        return false;
    return true;
}

// Decodes the code point at pos and moves past it; an ill-formed sequence gives U+FFFD and pos
// stops at the first byte that does not belong to it.
char32_t DecodeUtf8(std::string_view text, size_t& pos)
{
    const auto lead = static_cast<uint8_t>(text[pos++]);
    if (lead < 0x80)
        return lead;
    TUtf8Lead info;
    if (!Utf8LeadOf(lead, info))
        return kReplacement;
    char32_t codePoint = lead & (0x7F >> info.Length);
    for (int i = 1; i < info.Length; ++i) {
        if (pos >= text.size())
            return kReplacement;
        const auto byte = static_cast<uint8_t>(text[pos]);
        if (byte < (i == 1 ? info.Low : 0x80) || byte > (i == 1 ? info.High : 0xBF))
            return kReplacement;
        codePoint = (codePoint << 6) | (byte & 0x3F);
        ++pos;
    }
    return codePoint;
}

void AppendUtf16(std::u16string& units, char32_t codePoint)
{
    if (codePoint < 0x10000) {
        units.push_back(static_cast<char16_t>(codePoint));
        return;
    }
    codePoint -= 0x10000;
    units.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
    units.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
}

void AppendUtf8(std::string& text, char32_t codePoint)
{
    if (codePoint < 0x80) {
        text.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        text.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

// Decodes the code point at pos and moves past it; an unpaired surrogate gives U+FFFD.
char32_t DecodeUtf16(std::u16string_view units, size_t& pos)
{
    const char32_t unit = units[pos++];
    if (IsLowSurrogate(unit))
        return kReplacement;
    if (!IsHighSurrogate(unit))
        return unit;
    if (pos >= units.size() || !IsLowSurrogate(units[pos]))
        return kReplacement;
    const char32_t low = units[pos++];
    return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view text)
{
    std::u16string units;
    units.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size())
        AppendUtf16(units, DecodeUtf8(text, pos));
    return units;
}

std::string Utf16ToUtf8(std::u16string_view units)
{
    std::string text;
    text.reserve(units.size());
    size_t pos = 0;
    while (pos < units.size())
        AppendUtf8(text, DecodeUtf16(units, pos));
    return text;
}

}  // namespace pyxa
