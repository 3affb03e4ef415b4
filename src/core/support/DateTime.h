#pragma once
// Date-times as days since 1899-12-30 with the time of day as fraction (local wall clock).

#include <cstdint>
#include <ctime>

namespace pyxa {

using TDateTime = double;

struct TDateTimeParts {
    int Year = 0;
    int Month = 0;
    int Day = 0;
    int Hour = 0;
    int Minute = 0;
    int Second = 0;
    int Millisecond = 0;
};

bool TryEncodeDate(int year, int month, int day, TDateTime& result);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& result);
bool TryEncodeDateTime(const TDateTimeParts& parts, TDateTime& result);
// Splits a date-time; false when it lies outside the years 1 to 9999 or is not a number.
bool DecodeDateTime(TDateTime value, TDateTimeParts& parts);
// The calendar fields of C's time functions, weekday and day of the year included.
tm CalendarFieldsOf(const TDateTimeParts& parts);
// Whole days plus a time of day, with the sign rule of negative date-times.
TDateTime CombineDateAndTime(TDateTime date, TDateTime time);

// Local wall-clock time of a moment, to the millisecond.
TDateTime LocalDateTimeOf(const timespec& moment);
// The moment of a local wall-clock time; false when it cannot be converted.
bool MomentOfLocalDateTime(TDateTime value, timespec& moment);

}  // namespace pyxa
