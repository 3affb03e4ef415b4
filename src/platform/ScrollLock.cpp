#include "ScrollLock.h"

#include <X11/XKBlib.h>
#include <X11/Xlib.h>

namespace pyxa {

namespace {

constexpr const char* kIndicatorName = "Scroll Lock";

// Xlib reports protocol errors through one process-wide handler whose default ends the program.
// While a trap is active, errors on its connection are recorded instead; errors on any other
// connection (the window's own) still go to the handler that was installed before. Traps are
// never nested.
class TErrorTrap {
public:
    explicit TErrorTrap(Display* display) : FDisplay(display)
    {
        FPrevious = XSetErrorHandler(&TErrorTrap::Handle);
        FActive = this;
    }
    ~TErrorTrap()
    {
        // Errors of requests still on their way must reach this trap, not the fatal default.
        XSync(FDisplay, False);
        XSetErrorHandler(FPrevious);
        FActive = nullptr;
    }
    TErrorTrap(const TErrorTrap&) = delete;
    TErrorTrap& operator=(const TErrorTrap&) = delete;

    // Waits for the server to answer everything sent so far.
    bool Failed()
    {
        XSync(FDisplay, False);
        return FFailed;
    }

private:
    static int Handle(Display* display, XErrorEvent* event)
    {
        if (FActive && FActive->FDisplay == display) {
            FActive->FFailed = true;
            return 0;
        }
        return FActive && FActive->FPrevious ? FActive->FPrevious(display, event) : 0;
    }

    static inline TErrorTrap* FActive = nullptr;
    Display* FDisplay;
    XErrorHandler FPrevious = nullptr;
    bool FFailed = false;
};

bool HasXkb(Display* display)
{
    int opcode = 0;
    int event = 0;
    int error = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    return XkbQueryExtension(display, &opcode, &event, &error, &major, &minor);
}

// The indicator's state; false when the server does not know the indicator (any more).
bool ReadIndicator(Display* display, Atom indicator, bool& state)
{
    TErrorTrap trap(display);
    Bool on = False;
    const Bool known = XkbGetNamedIndicator(display, indicator, nullptr, &on, nullptr, nullptr);
    if (trap.Failed() || !known)
        return false;
    state = on;
    return true;
}

void WriteIndicator(Display* display, Atom indicator, bool state)
{
    TErrorTrap trap(display);
    XkbSetNamedIndicator(display, indicator, True, state ? True : False, False, nullptr);
}

}  // namespace

TScrollLock::TScrollLock(const char* x11DisplayName)
{
    if (!x11DisplayName)
        return;
    Display* display = XOpenDisplay(x11DisplayName);
    if (!display)
        return;
    bool state = false;
    // A server that never heard the name has no such indicator.
    const Atom indicator = HasXkb(display) ? XInternAtom(display, kIndicatorName, True) : None;
    if (indicator == None || !ReadIndicator(display, indicator, state)) {
        XCloseDisplay(display);
        return;
    }
    FDisplay = display;
    FIndicator = indicator;
    FState = state;
}

TScrollLock::~TScrollLock()
{
    if (FDisplay)
        XCloseDisplay(FDisplay);
}

bool TScrollLock::State() const
{
    bool state = FState;
    if (FDisplay)
        ReadIndicator(FDisplay, FIndicator, state);  // leaves the last known state on failure
    return state;
}

void TScrollLock::Set(bool wanted)
{
    if (State() == wanted)
        return;
    if (FDisplay)
        WriteIndicator(FDisplay, FIndicator, wanted);
    FState = wanted;
}

bool TScrollLock::UsesX11() const
{
    return FDisplay != nullptr;
}

}  // namespace pyxa
