#include "support/SizeText.h"

#include <cstdio>

namespace pyxa {

std::string SizeText(int64_t count, bool withBytes)
{
    char text[96];
    const char* unit = nullptr;
    double divisor = 1;
    if (count >= 1000000000) {
        unit = "GB";
        divisor = 1073741824.0;
    } else if (count >= 1000000) {
        unit = "MB";
        divisor = 1048576.0;
    } else if (count >= 1000) {
        unit = "KB";
        divisor = 1024.0;
    }
    if (!unit) {
        std::snprintf(text, sizeof text, "%lldBytes", static_cast<long long>(count));
        return text;
    }
    std::snprintf(text, sizeof text, "%.2f%s", static_cast<double>(count) / divisor, unit);
    std::string result = text;
    if (withBytes) {
        std::snprintf(text, sizeof text, " (%lldBytes)", static_cast<long long>(count));
        result += text;
    }
    return result;
}

}  // namespace pyxa
