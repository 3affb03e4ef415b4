#pragma once
// The read-only lock: while it is on, the catalogue cannot be changed by the user. It is kept in
// the index, so a container saved locked opens locked.

#include "container/Container.h"

namespace pyxa {

// Switches the lock, marks the index changed and reports the new state.
void ApplyReadOnlyLock(TContainer& container, bool locked);

}  // namespace pyxa
