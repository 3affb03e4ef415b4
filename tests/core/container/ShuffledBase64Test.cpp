#include "container/ShuffledBase64.h"

#include <gtest/gtest.h>

#include <set>

namespace pyxa {
namespace {

// Expected texts were computed apart from this code: standard base64, then each symbol mapped
// through the fixed symbol order "T31i+d4MGNceJkExhzY8SPR2p9wCg67XVqWmULF5vDyZaHOAB/ruIoltK0jsnQbf".
struct TCodeCase {
    const char* Label;
    std::string Bytes;
    std::string Text;
};

class ShuffledBase64KnownTextTest : public ::testing::TestWithParam<TCodeCase> {};

TEST_P(ShuffledBase64KnownTextTest, EncodesAndDecodes)
{
    EXPECT_EQ(ShuffledBase64Encode(GetParam().Bytes), GetParam().Text);
    EXPECT_EQ(ShuffledBase64Decode(GetParam().Text), GetParam().Bytes);
}

INSTANTIATE_TEST_SUITE_P(Cases, ShuffledBase64KnownTextTest,
                         ::testing::Values(TCodeCase {"Empty", "", ""}, TCodeCase {"OneByte", "f", "9V=="},
                                           TCodeCase {"TwoBytes", "fo", "9Fn="},
                                           TCodeCase {"ThreeBytes", "foo", "9FQA"},
                                           TCodeCase {"FourBytes", "foob", "9FQApV=="},
                                           TCodeCase {"FiveBytes", "fooba", "9FQApF+="},
                                           TCodeCase {"SixBytes", "foobar", "9FQApFdr"},
                                           TCodeCase {"HighAndZeroBytes", std::string("\x00\xFF\x10", 3), "Txnh"}),
                         [](const auto& info) { return info.param.Label; });

std::string AllByteValues()
{
    std::string bytes;
    for (int value = 0; value < 256; ++value)
        bytes.push_back(static_cast<char>(value));
    return bytes;
}

TEST(ShuffledBase64Test, SymbolOrderIsAPermutationOfTheStandardAlphabet)
{
    const std::string text = ShuffledBase64Encode(AllByteValues() + AllByteValues() + AllByteValues());
    std::set<char> used(text.begin(), text.end());
    used.erase('=');
    const std::string standard = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    EXPECT_EQ(used, std::set<char>(standard.begin(), standard.end()));
}

TEST(ShuffledBase64Test, RoundTripsEveryTailLength)
{
    for (size_t length = 0; length <= 70; ++length) {
        std::string bytes(length, '\0');
        for (size_t i = 0; i < length; ++i)
            bytes[i] = static_cast<char>((i * 37 + length * 11) & 0xFF);
        EXPECT_EQ(ShuffledBase64Decode(ShuffledBase64Encode(bytes)), bytes) << "length " << length;
    }
}

struct TDecodeCase {
    const char* Label;
    std::string Text;
    std::string Bytes;
};

class ShuffledBase64DecodeTest : public ::testing::TestWithParam<TDecodeCase> {};

TEST_P(ShuffledBase64DecodeTest, ReadsWholeGroupsOnly)
{
    EXPECT_EQ(ShuffledBase64Decode(GetParam().Text), GetParam().Bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShuffledBase64DecodeTest,
    ::testing::Values(TDecodeCase {"ShortTailIgnored", "9FQA9F", "foo"},
                      TDecodeCase {"TailOfOneIgnored", "9FQAp", "foo"},
                      TDecodeCase {"TooShortForAGroup", "9FQ", ""},
                      TDecodeCase {"PaddingInThirdPlaceEndsGroup", "9V=X", "f"},
                      TDecodeCase {"PaddedGroupsInTheMiddle", "9V==9Fn=9FQA", "ffofoo"},
                      TDecodeCase {"ForeignSymbolEndsTheData", "9FQA9F!A9FQA", "foo"},
                      TDecodeCase {"PaddingInSecondPlaceEndsTheData", "9FQA9===", "foo"},
                      TDecodeCase {"PaddingInFirstPlaceEndsTheData", "9FQA====", "foo"}),
    [](const auto& info) { return info.param.Label; });

struct TPasswordCase {
    const char* Label;
    std::string Password;
    std::string Attribute;
};

class FolderPasswordTest : public ::testing::TestWithParam<TPasswordCase> {};

TEST_P(FolderPasswordTest, EncodesUtf16TwiceAndBack)
{
    EXPECT_EQ(EncodeFolderPassword(GetParam().Password), GetParam().Attribute);
    EXPECT_EQ(DecodeFolderPassword(GetParam().Attribute), GetParam().Password);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FolderPasswordTest,
    ::testing::Values(TPasswordCase {"Empty", "", ""}, TPasswordCase {"Ascii", "secret", "9IGu8dhIYLz5PmkJP+ovPT=="},
                      TPasswordCase {"Latin", "P\xC3\xA4ssw\xC3\xB6rd", "SozDPPzkYLz5hmkIPMqBP46RJoPSPiIQ"},
                      TPasswordCase {"Cjk", "\xE6\x97\xA5\xE6\x9C\xAC", "JdN8p8L1x8I="},
                      TPasswordCase {"OutsideBmp", "\xF0\x9F\x98\x80", "7i9RPMzRx8I="}),
    [](const auto& info) { return info.param.Label; });

TEST(FolderPasswordTest, IllFormedInputGivesReplacementCharacters)
{
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(DecodeFolderPassword(EncodeFolderPassword("a\xFFz")), "a" + replacement + "z");
    const std::string loneSurrogate("\x00\xD8", 2);
    EXPECT_EQ(DecodeFolderPassword(ShuffledBase64Encode(ShuffledBase64Encode(loneSurrogate))), replacement);
    const std::string oddByteCount("a\x00" "b", 3);
    EXPECT_EQ(DecodeFolderPassword(ShuffledBase64Encode(ShuffledBase64Encode(oddByteCount))), "a");
    EXPECT_EQ(DecodeFolderPassword("not an encoding!"), "");
}

}  // namespace
}  // namespace pyxa
