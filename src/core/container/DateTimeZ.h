#pragma once
// A local date-time with its offset from UTC.

#include "support/DateTime.h"

#include <cstdint>

namespace pyxa {

struct TDateTimeZ {
    TDateTime DateTime = 0;  // local wall-clock time
    int16_t TimeZone = 0;    // minutes east of Greenwich
    bool Exists = false;     // when false the other fields carry no meaning
};

// Offset of local time from UTC in minutes, now.
int16_t LocalUtcOffset();
// The current local date-time to the millisecond, with the local offset, present.
TDateTimeZ NowDateTimeZ();

}  // namespace pyxa
