#include "support/DateTime.h"

#include <cmath>

namespace pyxa {

namespace {

constexpr int64_t kMillisecondsPerDay = 86400000;
// Days from 0001-01-01 (proleptic Gregorian) to 1899-12-30.
constexpr int64_t kEpochOffsetDays = 693594;

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 0001-01-01 of a civil date.
int64_t DaysFromCivil(int year, int month, int day)
{
    const int64_t y = year - 1;
    int64_t days = y * 365 + y / 4 - y / 100 + y / 400;
    for (int m = 1; m < month; ++m)
        days += DaysInMonth(year, m);
    return days + day - 1;
}

void CivilFromDays(int64_t days, int& year, int& month, int& day)
{
    // Shift to 0000-03-01 based arithmetic (Howard Hinnant's algorithm).
    const int64_t z = days + 306;  // days since 0000-03-01
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
}

}  // namespace

bool TryEncodeDate(int year, int month, int day, TDateTime& result)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    result = static_cast<TDateTime>(DaysFromCivil(year, month, day) - kEpochOffsetDays);
    return true;
}

bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        return false;
    const int64_t ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
    result = static_cast<TDateTime>(ms) / kMillisecondsPerDay;
    return true;
}

TDateTime CombineDateAndTime(TDateTime date, TDateTime time)
{
    const TDateTime days = std::trunc(date);
    return days < 0 ? days - time : days + time;
}

bool TryEncodeDateTime(const TDateTimeParts& parts, TDateTime& result)
{
    TDateTime date = 0;
    TDateTime time = 0;
    if (!TryEncodeDate(parts.Year, parts.Month, parts.Day, date) ||
        !TryEncodeTime(parts.Hour, parts.Minute, parts.Second, parts.Millisecond, time))
        return false;
    result = CombineDateAndTime(date, time);
    return true;
}

bool DecodeDateTime(TDateTime value, TDateTimeParts& parts)
{
    if (!std::isfinite(value))
        return false;
    TDateTime lowest = 0;
    TDateTime highest = 0;
    TryEncodeDate(1, 1, 1, lowest);
    TryEncodeDate(9999, 12, 31, highest);
    if (value <= lowest - 1 || value >= highest + 1)
        return false;
    const auto days = static_cast<int64_t>(std::trunc(value));
    int64_t ms = std::llround(std::fabs(value - std::trunc(value)) * kMillisecondsPerDay);
    if (ms >= kMillisecondsPerDay)
        ms = kMillisecondsPerDay - 1;
    CivilFromDays(days + kEpochOffsetDays, parts.Year, parts.Month, parts.Day);
    parts.Hour = static_cast<int>(ms / 3600000);
    parts.Minute = static_cast<int>(ms / 60000 % 60);
    parts.Second = static_cast<int>(ms / 1000 % 60);
    parts.Millisecond = static_cast<int>(ms % 1000);
    return true;
}

TDateTime LocalDateTimeOf(const timespec& moment)
{
    tm local {};
    const time_t seconds = moment.tv_sec;
    localtime_r(&seconds, &local);
    TDateTimeParts parts {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          // A leap second reads as the last second of its minute.
                          local.tm_sec > 59 ? 59 : local.tm_sec, static_cast<int>(moment.tv_nsec / 1000000)};
    TDateTime result = 0;
    TryEncodeDateTime(parts, result);
    return result;
}

tm CalendarFieldsOf(const TDateTimeParts& parts)
{
    tm fields {};
    fields.tm_year = parts.Year - 1900;
    fields.tm_mon = parts.Month - 1;
    fields.tm_mday = parts.Day;
    fields.tm_hour = parts.Hour;
    fields.tm_min = parts.Minute;
    fields.tm_sec = parts.Second;
    TDateTime day = 0;
    TDateTime firstDayOfYear = 0;
    TryEncodeDate(parts.Year, parts.Month, parts.Day, day);
    TryEncodeDate(parts.Year, 1, 1, firstDayOfYear);
    // Day 0 (1899-12-30) was a Saturday.
    fields.tm_wday = static_cast<int>(((static_cast<int64_t>(day) + 6) % 7 + 7) % 7);
    fields.tm_yday = static_cast<int>(day - firstDayOfYear);
    return fields;
}

bool MomentOfLocalDateTime(TDateTime value, timespec& moment)
{
    TDateTimeParts parts;
    if (!DecodeDateTime(value, parts))
        return false;
    tm local = CalendarFieldsOf(parts);
    local.tm_isdst = -1;
    const time_t seconds = mktime(&local);
    if (seconds == static_cast<time_t>(-1) && !(parts.Year == 1969 && parts.Month == 12 && parts.Day == 31))
        return false;
    moment.tv_sec = seconds;
    moment.tv_nsec = static_cast<long>(parts.Millisecond) * 1000000;
    return true;
}

}  // namespace pyxa
