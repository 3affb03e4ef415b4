#include "support/Utf16.h"

#include <gtest/gtest.h>

namespace pyxa {
namespace {

struct TUtf8Case {
    const char* Label;
    std::string Utf8;
    std::u16string Utf16;
};

class Utf16WellFormedTest : public ::testing::TestWithParam<TUtf8Case> {};

TEST_P(Utf16WellFormedTest, ConvertsBothWays)
{
    EXPECT_EQ(Utf8ToUtf16(GetParam().Utf8), GetParam().Utf16);
    EXPECT_EQ(Utf16ToUtf8(GetParam().Utf16), GetParam().Utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf16WellFormedTest,
    ::testing::Values(TUtf8Case {"Empty", "", u""}, TUtf8Case {"Ascii", "abc 123", u"abc 123"},
                      TUtf8Case {"Nul", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
                      TUtf8Case {"TwoBytes", "\xC3\xA9", u"\u00E9"},
                      TUtf8Case {"ThreeBytes", "\xE2\x82\xAC", u"\u20AC"},
                      TUtf8Case {"LastBmp", "\xEF\xBF\xBF", u"\uFFFF"},
                      TUtf8Case {"SurrogatePair", "\xF0\x9F\x98\x80", u"\U0001F600"},
                      TUtf8Case {"HighestCodePoint", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
                      TUtf8Case {"Mixed", "P\xC3\xA4ss \xE6\x97\xA5\xF0\x9F\x98\x80!", u"P\u00E4ss \u65E5\U0001F600!"}),
    [](const auto& info) { return info.param.Label; });

class Utf16IllFormedUtf8Test : public ::testing::TestWithParam<TUtf8Case> {};

// Each maximal ill-formed subsequence becomes one U+FFFD; the bytes after it are read again.
TEST_P(Utf16IllFormedUtf8Test, ReplacesInsteadOfFailing)
{
    EXPECT_EQ(Utf8ToUtf16(GetParam().Utf8), GetParam().Utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf16IllFormedUtf8Test,
    ::testing::Values(TUtf8Case {"LoneContinuation", "a\x80z", u"a\uFFFDz"},
                      TUtf8Case {"InvalidLead", "\xFF\xFE", u"\uFFFD\uFFFD"},
                      TUtf8Case {"TruncatedAtEnd", "a\xE2\x82", u"a\uFFFD"},
                      TUtf8Case {"TruncatedBeforeAscii", "\xE2\x82x", u"\uFFFDx"},
                      TUtf8Case {"OverlongTwoBytes", "\xC0\xAF", u"\uFFFD\uFFFD"},
                      TUtf8Case {"OverlongThreeBytes", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
                      TUtf8Case {"EncodedSurrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
                      TUtf8Case {"AboveUnicode", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
                      TUtf8Case {"LeadFollowedByLead", "\xC3\xC3\xA9", u"\uFFFD\u00E9"}),
    [](const auto& info) { return info.param.Label; });

struct TUtf16Case {
    const char* Label;
    std::u16string Utf16;
    std::string Utf8;
};

class Utf16UnpairedSurrogateTest : public ::testing::TestWithParam<TUtf16Case> {};

TEST_P(Utf16UnpairedSurrogateTest, ReplacesInsteadOfFailing)
{
    EXPECT_EQ(Utf16ToUtf8(GetParam().Utf16), GetParam().Utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf16UnpairedSurrogateTest,
    ::testing::Values(TUtf16Case {"HighAtEnd", std::u16string {u'a', char16_t(0xD83D)}, "a\xEF\xBF\xBD"},
                      TUtf16Case {"LowAlone", std::u16string {char16_t(0xDE00), u'b'}, "\xEF\xBF\xBD" "b"},
                      TUtf16Case {"HighBeforeAscii", std::u16string {char16_t(0xD83D), u'c'}, "\xEF\xBF\xBD" "c"},
                      TUtf16Case {"TwoHighs", std::u16string {char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDE00)},
                                  "\xEF\xBF\xBD\xF0\x9F\x98\x80"}),
    [](const auto& info) { return info.param.Label; });

}  // namespace
}  // namespace pyxa
