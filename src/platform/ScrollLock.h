#pragma once
// The Scroll Lock toggle, which the window lights while an automatic password is set.

struct _XDisplay;

namespace pyxa {

// On X11 the XKB named indicator "Scroll Lock" (XkbGetNamedIndicator / XkbSetNamedIndicator, on a
// display connection of its own opened from the given display name); elsewhere, or when the
// display, XKB or the indicator is not available, the state is kept by this object and every
// failure is ignored. X protocol errors on the own connection are absorbed, never fatal.
// UI thread only.
class TScrollLock {
public:
    // x11DisplayName as XOpenDisplay takes it; nullptr: not on X11.
    explicit TScrollLock(const char* x11DisplayName);
    ~TScrollLock();
    TScrollLock(const TScrollLock&) = delete;
    TScrollLock& operator=(const TScrollLock&) = delete;

    bool State() const;          // ScrollLockState
    void Set(bool wanted);       // SetScrollLock: changes the light only when it differs
    bool UsesX11() const;

private:
    _XDisplay* FDisplay = nullptr;
    unsigned long FIndicator = 0;  // the atom naming the indicator
    bool FState = false;           // the state without X11, and the last one seen or set with it
};

}  // namespace pyxa
