#pragma once
// Text forms of a TDateTimeZ: the index form ("2010-05-04T13:07:09+02:00") and the display form.

#include "container/DateTimeZ.h"

#include <string>

namespace pyxa {

// Index form; empty when the date is not set or cannot be split.
std::string DateTimeZToIso(const TDateTimeZ& value);
// Reads the index form; an unreadable text gives a date that is not set.
TDateTimeZ IsoToDateTimeZ(const std::string& text);
// Display form: the user's short date and short time; empty when not set.
std::string DateTimeZToText(const TDateTimeZ& value);
// A local date-time in the user's short date and long time format.
std::string DateTimeToLongText(TDateTime value);

}  // namespace pyxa
