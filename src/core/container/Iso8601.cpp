#include "container/Iso8601.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <langinfo.h>
#include <string_view>
#include <vector>

namespace pyxa {

namespace {

std::string ZoneText(int16_t timeZone)
{
    if (timeZone == 0)
        return "Z";
    const int minutes = std::abs(static_cast<int>(timeZone));
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%c%02d:%02d", timeZone > 0 ? '+' : '-', minutes / 60, minutes % 60);
    return buffer;
}

std::string LowerAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::vector<std::string_view> SplitFields(std::string_view text, char separator)
{
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t pos = text.find(separator); pos != std::string_view::npos; pos = text.find(separator, start)) {
        fields.push_back(text.substr(start, pos - start));
        start = pos + 1;
    }
    fields.push_back(text.substr(start));
    return fields;
}

bool AllDigits(std::string_view text)
{
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// Reads 1 to maxDigits decimal digits and nothing else.
bool ReadDigits(std::string_view text, size_t maxDigits, int& value)
{
    if (text.empty() || text.size() > maxDigits || !AllDigits(text))
        return false;
    value = 0;
    for (const char c : text)
        value = value * 10 + (c - '0');
    return true;
}

// "yyyy-m-d" with a four-digit year and one- or two-digit month and day.
bool ReadDate(std::string_view text, TDateTime& date)
{
    const std::vector<std::string_view> fields = SplitFields(text, '-');
    int year = 0;
    int month = 0;
    int day = 0;
    return fields.size() == 3 && fields[0].size() == 4 && ReadDigits(fields[0], 4, year) &&
           ReadDigits(fields[1], 2, month) && ReadDigits(fields[2], 2, day) && TryEncodeDate(year, month, day, date);
}

// Seconds with an optional fraction ("9", "09", "09.5", "09.123456"); the fraction is cut to
// milliseconds.
bool ReadSeconds(std::string_view text, int& second, int& millisecond)
{
    const size_t point = text.find('.');
    if (!ReadDigits(text.substr(0, point), 2, second))
        return false;
    millisecond = 0;
    if (point == std::string_view::npos)
        return true;
    const std::string_view fraction = text.substr(point + 1);
    if (fraction.empty() || !AllDigits(fraction))
        return false;
    for (size_t i = 0; i < 3; ++i)
        millisecond = millisecond * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
    return true;
}

// "h:m" or "h:m:s" with one- or two-digit fields and optional fractional seconds.
bool ReadTime(std::string_view text, TDateTime& time)
{
    const std::vector<std::string_view> fields = SplitFields(text, ':');
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    if (fields.size() < 2 || fields.size() > 3 || !ReadDigits(fields[0], 2, hour) || !ReadDigits(fields[1], 2, minute))
        return false;
    if (fields.size() == 3 && !ReadSeconds(fields[2], second, millisecond))
        return false;
    return TryEncodeTime(hour, minute, second, millisecond, time);
}

// "+hh:mm" or "-hh:mm".
bool ReadOffset(std::string_view suffix, int16_t& timeZone)
{
    int hours = 0;
    int minutes = 0;
    if ((suffix[0] != '+' && suffix[0] != '-') || suffix[3] != ':' || !ReadDigits(suffix.substr(1, 2), 2, hours) ||
        !ReadDigits(suffix.substr(4, 2), 2, minutes) || minutes > 59)
        return false;
    const int offset = hours * 60 + minutes;
    timeZone = static_cast<int16_t>(suffix[0] == '-' ? -offset : offset);
    return true;
}

// Where the zone suffix of the time text starts: the first "z", else "+", else "-".
size_t ZoneStart(std::string_view rest)
{
    for (const char marker : {'z', '+', '-'}) {
        const size_t pos = rest.find(marker);
        if (pos != std::string_view::npos)
            return pos;
    }
    return std::string_view::npos;
}

bool IsCLocale(const char* name)
{
    return !name || std::strcmp(name, "C") == 0 || std::strcmp(name, "POSIX") == 0 || std::strncmp(name, "C.", 2) == 0;
}

// The C locale's date form has a two-digit year; it gets the unambiguous ISO form instead.
std::string ShortDateFormat()
{
    if (IsCLocale(std::setlocale(LC_TIME, nullptr)))
        return "%Y-%m-%d";
    return nl_langinfo(D_FMT);
}

std::string FormatLocal(TDateTime value, const char* timeFormat)
{
    TDateTimeParts parts;
    if (!DecodeDateTime(value, parts))
        return {};
    const tm fields = CalendarFieldsOf(parts);
    const std::string format = ShortDateFormat() + " " + timeFormat;
    char buffer[256];
    const size_t length = std::strftime(buffer, sizeof buffer, format.c_str(), &fields);
    return std::string(buffer, length);
}

}  // namespace

std::string DateTimeZToIso(const TDateTimeZ& value)
{
    TDateTimeParts parts;
    if (!value.Exists || !DecodeDateTime(value.DateTime, parts))
        return {};
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", parts.Year, parts.Month, parts.Day,
                  parts.Hour, parts.Minute, parts.Second);
    return buffer + ZoneText(value.TimeZone);
}

TDateTimeZ IsoToDateTimeZ(const std::string& text)
{
    TDateTimeZ result = NowDateTimeZ();
    result.Exists = false;
    const std::string lower = LowerAscii(text);
    const size_t separator = lower.find('t');
    const std::string_view datePart = std::string_view(lower).substr(0, separator);
    const std::string_view rest =
        separator == std::string::npos ? std::string_view() : std::string_view(lower).substr(separator + 1);

    // A time without a date is not a date: it is never completed with today.
    TDateTime date = 0;
    if (!ReadDate(datePart, date))
        return result;
    result.DateTime = date;
    if (rest.empty())
        return result;

    const size_t zoneStart = ZoneStart(rest);
    const std::string_view suffix = zoneStart == std::string_view::npos ? std::string_view() : rest.substr(zoneStart);
    TDateTime time = 0;
    if (!ReadTime(rest.substr(0, zoneStart), time))
        return result;
    result.DateTime = CombineDateAndTime(date, time);
    if (suffix == "z")
        result.TimeZone = 0;
    else if (suffix.size() == 6)
        ReadOffset(suffix, result.TimeZone);
    result.Exists = true;
    return result;
}

std::string DateTimeZToText(const TDateTimeZ& value)
{
    return value.Exists ? FormatLocal(value.DateTime, "%H:%M") : std::string();
}

std::string DateTimeToLongText(TDateTime value)
{
    return FormatLocal(value, "%H:%M:%S");
}

}  // namespace pyxa
