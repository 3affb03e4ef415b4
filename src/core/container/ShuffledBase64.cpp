#include "container/ShuffledBase64.h"

#include "support/Utf16.h"

#include <array>
#include <cstdint>

namespace pyxa {

namespace {

// The symbol of each 6-bit value: the 64 standard base64 symbols in a fixed shuffled order. The
// order is part of the container format: changing it makes every stored folder password unreadable.
constexpr char kSymbols[] = "T31i+d4MGNceJkExhzY8SPR2p9wCg67XVqWmULF5vDyZaHOAB/ruIoltK0jsnQbf";
static_assert(sizeof(kSymbols) == 65);

constexpr int8_t kNoSymbol = -1;

constexpr std::array<int8_t, 256> MakeValueTable()
{
    std::array<int8_t, 256> values {};
    values.fill(kNoSymbol);
    for (int v = 0; v < 64; ++v)
        values[static_cast<uint8_t>(kSymbols[v])] = static_cast<int8_t>(v);
    return values;
}

constexpr std::array<int8_t, 256> kValues = MakeValueTable();

int ValueOf(char symbol)
{
    return kValues[static_cast<uint8_t>(symbol)];
}

// Decodes one group of 4 characters; "=" in the third or fourth place ends the group's data. False,
// with nothing appended, when the group holds a character outside the alphabet.
bool DecodeGroup(const char* group, std::string& bytes)
{
    const bool endsAtThird = group[2] == '=';
    const bool endsAtFourth = endsAtThird || group[3] == '=';
    const int a = ValueOf(group[0]);
    const int b = ValueOf(group[1]);
    const int c = endsAtThird ? 0 : ValueOf(group[2]);
    const int d = endsAtFourth ? 0 : ValueOf(group[3]);
    if (a == kNoSymbol || b == kNoSymbol || c == kNoSymbol || d == kNoSymbol)
        return false;
    bytes.push_back(static_cast<char>((a << 2) | (b >> 4)));
    if (!endsAtThird)
        bytes.push_back(static_cast<char>(((b & 15) << 4) | (c >> 2)));
    if (!endsAtFourth)
        bytes.push_back(static_cast<char>(((c & 3) << 6) | d));
    return true;
}

std::string Utf16LeBytes(const std::u16string& units)
{
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

// A trailing odd byte cannot form a code unit and is dropped.
std::u16string Utf16LeUnits(const std::string& bytes)
{
    std::u16string units;
    units.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<uint8_t>(bytes[i]);
        const auto high = static_cast<uint8_t>(bytes[i + 1]);
        units.push_back(static_cast<char16_t>(low | (high << 8)));
    }
    return units;
}

}  // namespace

std::string ShuffledBase64Encode(const std::string& bytes)
{
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const auto a = static_cast<uint8_t>(bytes[i]);
        const auto b = static_cast<uint8_t>(bytes[i + 1]);
        const auto c = static_cast<uint8_t>(bytes[i + 2]);
        text += {kSymbols[a >> 2], kSymbols[((a << 4) & 63) | (b >> 4)], kSymbols[((b << 2) & 63) | (c >> 6)],
                 kSymbols[c & 63]};
    }
    if (bytes.size() - i == 2) {
        const auto a = static_cast<uint8_t>(bytes[i]);
        const auto b = static_cast<uint8_t>(bytes[i + 1]);
        text += {kSymbols[a >> 2], kSymbols[((a << 4) & 63) | (b >> 4)], kSymbols[(b & 15) << 2], '='};
    } else if (bytes.size() - i == 1) {
        const auto a = static_cast<uint8_t>(bytes[i]);
        text += {kSymbols[a >> 2], kSymbols[(a & 3) << 4], '=', '='};
    }
    return text;
}

std::string ShuffledBase64Decode(const std::string& text)
{
    std::string bytes;
    bytes.reserve(text.size() / 4 * 3);
    // A damaged group ends the data: what follows it cannot be trusted to line up.
    for (size_t i = 0; i + 4 <= text.size(); i += 4) {
        if (!DecodeGroup(text.data() + i, bytes))
            break;
    }
    return bytes;
}

std::string EncodeFolderPassword(const std::string& utf8Password)
{
    return ShuffledBase64Encode(ShuffledBase64Encode(Utf16LeBytes(Utf8ToUtf16(utf8Password))));
}

std::string DecodeFolderPassword(const std::string& attribute)
{
    return Utf16ToUtf8(Utf16LeUnits(ShuffledBase64Decode(ShuffledBase64Decode(attribute))));
}

}  // namespace pyxa
