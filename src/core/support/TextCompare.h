#pragma once

#include <string>

namespace pyxa {

// Orders texts without regard to the case of A-Z; texts equal that way fall back to byte order.
int CompareTextIgnoringCase(const std::string& a, const std::string& b);

}  // namespace pyxa
