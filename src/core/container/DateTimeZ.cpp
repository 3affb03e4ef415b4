#include "container/DateTimeZ.h"

#include <ctime>

namespace pyxa {

int16_t LocalUtcOffset()
{
    const time_t now = time(nullptr);
    tm local {};
    localtime_r(&now, &local);
    return static_cast<int16_t>(local.tm_gmtoff / 60);
}

TDateTimeZ NowDateTimeZ()
{
    timespec now {};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local {};
    localtime_r(&now.tv_sec, &local);
    return TDateTimeZ {LocalDateTimeOf(now), static_cast<int16_t>(local.tm_gmtoff / 60), true};
}

}  // namespace pyxa
