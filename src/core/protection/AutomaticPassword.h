#pragma once
// The automatic password: one password for every item packed or opened until it is cleared.

#include "container/Container.h"

#include <string>

namespace pyxa {

// Sets the container's automatic password (an empty text clears it) and reports the change.
void ApplyGlobalPassword(TContainer& container, const std::string& password);

}  // namespace pyxa
