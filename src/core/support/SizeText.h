#pragma once

#include <cstdint>
#include <string>

namespace pyxa {

// "999Bytes", "1.46KB", "0.95MB", "0.93GB"; with bytes the KB, MB and GB forms add " (1500Bytes)".
// Thresholds are powers of ten, divisors powers of two; the decimal separator is the locale's.
std::string SizeText(int64_t count, bool withBytes);

}  // namespace pyxa
