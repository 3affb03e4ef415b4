#include "protection/ReadOnlyLock.h"

namespace pyxa {

void ApplyReadOnlyLock(TContainer& container, bool locked)
{
    container.SetModified(true, false);
    container.SetLocked(locked);
    const char* text = locked ? "Pyxa file is LOCKED." : "Pyxa file is unlocked.";
    container.Host.SetStatusText(text);
    container.Host.Display(text, "", liInformation, false, false);
}

}  // namespace pyxa
