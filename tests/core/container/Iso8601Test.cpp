#include "container/Iso8601.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <optional>
#include <string>

namespace pyxa {
namespace {

TDateTime LocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int millisecond = 0)
{
    TDateTime value = 0;
    EXPECT_TRUE(TryEncodeDateTime({year, month, day, hour, minute, second, millisecond}, value));
    return value;
}

TDateTimeZ Present(TDateTime value, int16_t timeZone)
{
    return TDateTimeZ {value, timeZone, true};
}

struct TWriteCase {
    const char* Label;
    TDateTimeZ Value;
    std::string Text;
};

class DateTimeZToIsoTest : public ::testing::TestWithParam<TWriteCase> {};

TEST_P(DateTimeZToIsoTest, WritesIndexForm)
{
    EXPECT_EQ(DateTimeZToIso(GetParam().Value), GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateTimeZToIsoTest,
    ::testing::Values(
        TWriteCase {"PositiveOffset", Present(LocalTime(2010, 5, 4, 13, 7, 9), 120), "2010-05-04T13:07:09+02:00"},
        TWriteCase {"OneHour", Present(LocalTime(2010, 5, 4, 13, 7, 9), 60), "2010-05-04T13:07:09+01:00"},
        TWriteCase {"NegativeHalfHour", Present(LocalTime(2010, 5, 4, 13, 7, 9), -330), "2010-05-04T13:07:09-05:30"},
        TWriteCase {"NegativeUnderOneHour", Present(LocalTime(2010, 5, 4, 13, 7, 9), -1), "2010-05-04T13:07:09-00:01"},
        TWriteCase {"UtcIsZ", Present(LocalTime(2010, 5, 4, 13, 7, 9), 0), "2010-05-04T13:07:09Z"},
        TWriteCase {"MillisecondsDroppedNotRounded", Present(LocalTime(2010, 5, 4, 13, 7, 9, 999), 0),
                    "2010-05-04T13:07:09Z"},
        TWriteCase {"LastMomentOfADay", Present(LocalTime(1999, 12, 31, 23, 59, 59, 999), 0), "1999-12-31T23:59:59Z"},
        TWriteCase {"BeforeTheEpochDay", Present(LocalTime(1850, 7, 1, 6, 30, 15), 0), "1850-07-01T06:30:15Z"},
        TWriteCase {"FirstYear", Present(LocalTime(1, 1, 1), 0), "0001-01-01T00:00:00Z"},
        TWriteCase {"LastYear", Present(LocalTime(9999, 12, 31, 23, 59, 59), 0), "9999-12-31T23:59:59Z"},
        TWriteCase {"NotSet", TDateTimeZ {LocalTime(2010, 5, 4), 120, false}, ""},
        TWriteCase {"BeyondTheCalendar", Present(1e9, 0), ""},
        TWriteCase {"NotANumber", Present(std::numeric_limits<double>::quiet_NaN(), 0), ""}),
    [](const auto& info) { return info.param.Label; });

// A present date read from text; a missing TimeZone means the local offset.
struct TReadCase {
    const char* Label;
    std::string Text;
    TDateTime DateTime;
    std::optional<int16_t> TimeZone;
};

class IsoToDateTimeZTest : public ::testing::TestWithParam<TReadCase> {};

TEST_P(IsoToDateTimeZTest, ReadsPresentDate)
{
    const TDateTimeZ value = IsoToDateTimeZ(GetParam().Text);
    EXPECT_TRUE(value.Exists);
    EXPECT_EQ(value.DateTime, GetParam().DateTime);
    EXPECT_EQ(value.TimeZone, GetParam().TimeZone.value_or(LocalUtcOffset()));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsoToDateTimeZTest,
    ::testing::Values(
        TReadCase {"PositiveOffset", "2010-05-04T13:07:09+02:00", LocalTime(2010, 5, 4, 13, 7, 9), 120},
        TReadCase {"NegativeOffset", "2010-05-04T13:07:09-05:30", LocalTime(2010, 5, 4, 13, 7, 9), -330},
        TReadCase {"Utc", "2010-05-04T13:07:09Z", LocalTime(2010, 5, 4, 13, 7, 9), 0},
        TReadCase {"LowerCase", "2010-05-04t13:07:09z", LocalTime(2010, 5, 4, 13, 7, 9), 0},
        TReadCase {"ZeroOffsetWithSign", "2010-05-04T13:07:09+00:00", LocalTime(2010, 5, 4, 13, 7, 9), 0},
        TReadCase {"HoursAndMinutesOnly", "2010-05-04T13:07+02:00", LocalTime(2010, 5, 4, 13, 7), 120},
        TReadCase {"FractionCutToMilliseconds", "2010-05-04T13:07:09.123789Z", LocalTime(2010, 5, 4, 13, 7, 9, 123),
                   0},
        TReadCase {"ShortFraction", "2010-05-04T13:07:09.5-01:00", LocalTime(2010, 5, 4, 13, 7, 9, 500), -60},
        TReadCase {"SingleDigitFields", "2010-5-4T3:7:9Z", LocalTime(2010, 5, 4, 3, 7, 9), 0},
        TReadCase {"BeforeTheEpochDay", "1850-07-01T06:30:15Z", LocalTime(1850, 7, 1, 6, 30, 15), 0},
        TReadCase {"NoZoneKeepsLocalOffset", "2010-05-04T13:07:09", LocalTime(2010, 5, 4, 13, 7, 9), std::nullopt},
        TReadCase {"ShortZoneKeepsLocalOffset", "2010-05-04T13:07:09+0200", LocalTime(2010, 5, 4, 13, 7, 9),
                   std::nullopt},
        TReadCase {"MalformedZoneKeepsLocalOffset", "2010-05-04T13:07:09+ab:cd", LocalTime(2010, 5, 4, 13, 7, 9),
                   std::nullopt},
        TReadCase {"ZoneMinutesOutOfRangeKeepLocalOffset", "2010-05-04T13:07:09+01:60",
                   LocalTime(2010, 5, 4, 13, 7, 9), std::nullopt}),
    [](const auto& info) { return info.param.Label; });

// Texts that give a date that is not set; Kept is the date left in DateTime when the date part was
// readable.
struct TNotSetCase {
    const char* Label;
    std::string Text;
    std::optional<TDateTime> Kept;
};

class IsoToDateTimeZNotSetTest : public ::testing::TestWithParam<TNotSetCase> {};

TEST_P(IsoToDateTimeZNotSetTest, GivesDateNotSet)
{
    const TDateTimeZ value = IsoToDateTimeZ(GetParam().Text);
    EXPECT_FALSE(value.Exists);
    if (GetParam().Kept) {
        EXPECT_EQ(value.DateTime, *GetParam().Kept);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IsoToDateTimeZNotSetTest,
    ::testing::Values(TNotSetCase {"Empty", "", std::nullopt},
                      TNotSetCase {"DateAlone", "2010-05-04", LocalTime(2010, 5, 4)},
                      TNotSetCase {"DateWithEmptyTime", "2010-05-04T", LocalTime(2010, 5, 4)},
                      TNotSetCase {"HourOutOfRange", "2010-05-04T24:00:00Z", LocalTime(2010, 5, 4)},
                      TNotSetCase {"MinuteOutOfRange", "2010-05-04T13:60Z", LocalTime(2010, 5, 4)},
                      TNotSetCase {"HourAlone", "2010-05-04T13Z", LocalTime(2010, 5, 4)},
                      TNotSetCase {"TooManyTimeFields", "2010-05-04T13:07:09:01Z", LocalTime(2010, 5, 4)},
                      TNotSetCase {"LettersInTime", "2010-05-04Tab:cd:efZ", LocalTime(2010, 5, 4)},
                      TNotSetCase {"EmptyFraction", "2010-05-04T13:07:09.Z", LocalTime(2010, 5, 4)},
                      TNotSetCase {"LettersInFraction", "2010-05-04T13:07:09.5x", LocalTime(2010, 5, 4)},
                      TNotSetCase {"ZoneWithoutTime", "2010-05-04T-05:00", LocalTime(2010, 5, 4)},
                      TNotSetCase {"SignedHour", "2010-05-04T+13:07:09", LocalTime(2010, 5, 4)},
                      TNotSetCase {"NoSuchDay", "2010-02-30T13:07:09Z", std::nullopt},
                      TNotSetCase {"NoSuchMonth", "2010-13-01T13:07:09Z", std::nullopt},
                      TNotSetCase {"YearZero", "0000-01-01T00:00:00Z", std::nullopt},
                      TNotSetCase {"TwoDigitYear", "10-05-04T13:07:09Z", std::nullopt},
                      TNotSetCase {"OtherSeparator", "2010/05/04T13:07:09Z", std::nullopt},
                      TNotSetCase {"LeadingBlank", " 2010-05-04T13:07:09Z", std::nullopt},
                      TNotSetCase {"TimeWithoutDate", "T13:07:09Z", std::nullopt},
                      TNotSetCase {"HugeNumbers", "99999999999999999999-05-04T13:07:09Z", std::nullopt},
                      TNotSetCase {"Garbage", "yesterday", std::nullopt}),
    [](const auto& info) { return info.param.Label; });

TEST(IsoToDateTimeZTest, RoundTripsWrittenForm)
{
    const TDateTimeZ values[] = {Present(LocalTime(2010, 5, 4, 13, 7, 9), 120), Present(LocalTime(1, 1, 1), -330),
                                 Present(LocalTime(1850, 7, 1, 6, 30, 15), 0),
                                 Present(LocalTime(9999, 12, 31, 23, 59, 59), -720)};
    for (const TDateTimeZ& value : values) {
        const TDateTimeZ read = IsoToDateTimeZ(DateTimeZToIso(value));
        EXPECT_TRUE(read.Exists);
        EXPECT_EQ(read.DateTime, value.DateTime) << DateTimeZToIso(value);
        EXPECT_EQ(read.TimeZone, value.TimeZone) << DateTimeZToIso(value);
    }
}

// Switches the C library's time locale for one test and restores it afterwards.
class TimeLocale {
public:
    explicit TimeLocale(const char* name) : FPrevious(std::setlocale(LC_TIME, nullptr))
    {
        FActive = std::setlocale(LC_TIME, name) != nullptr;
    }
    ~TimeLocale() { std::setlocale(LC_TIME, FPrevious.c_str()); }
    TimeLocale(const TimeLocale&) = delete;
    TimeLocale& operator=(const TimeLocale&) = delete;

    bool Active() const { return FActive; }

private:
    std::string FPrevious;
    bool FActive = false;
};

struct TDisplayCase {
    const char* Label;
    const char* Locale;
    std::string ShortText;
    std::string LongText;
};

class DateDisplayTest : public ::testing::TestWithParam<TDisplayCase> {};

TEST_P(DateDisplayTest, UsesShortDateOfTheLocale)
{
    const TimeLocale locale(GetParam().Locale);
    if (!locale.Active())
        GTEST_SKIP() << "locale " << GetParam().Locale << " is not installed";
    const TDateTime moment = LocalTime(2010, 5, 4, 13, 7, 9, 999);
    EXPECT_EQ(DateTimeZToText(Present(moment, -330)), GetParam().ShortText);
    EXPECT_EQ(DateTimeToLongText(moment), GetParam().LongText);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DateDisplayTest,
    ::testing::Values(TDisplayCase {"C", "C", "2010-05-04 13:07", "2010-05-04 13:07:09"},
                      TDisplayCase {"Posix", "POSIX", "2010-05-04 13:07", "2010-05-04 13:07:09"},
                      TDisplayCase {"CUtf8", "C.UTF-8", "2010-05-04 13:07", "2010-05-04 13:07:09"},
                      TDisplayCase {"German", "de_DE.UTF-8", "04.05.2010 13:07", "04.05.2010 13:07:09"},
                      TDisplayCase {"AmericanEnglish", "en_US.UTF-8", "05/04/2010 13:07", "05/04/2010 13:07:09"}),
    [](const auto& info) { return info.param.Label; });

TEST(DateDisplayTest, EmptyWhenNotSetOrNotADate)
{
    EXPECT_EQ(DateTimeZToText(TDateTimeZ {LocalTime(2010, 5, 4), 0, false}), "");
    EXPECT_EQ(DateTimeZToText(Present(1e9, 0)), "");
    EXPECT_EQ(DateTimeToLongText(-1e9), "");
}

}  // namespace
}  // namespace pyxa
