#pragma once
// The main window's private messages: deferred work the window posts to itself, carried as a
// custom event with the two message parameters.

#include <QEvent>

class QObject;

namespace pyxa {

inline constexpr int WM_USER = 0x400;
inline constexpr int WM_OPENFILE = WM_USER + 2;
inline constexpr int WM_SAVEFILE = WM_USER + 3;
inline constexpr int WM_STARTUP = WM_USER + 7;
inline constexpr int WM_LOGWARNING = WM_USER + 8;

class TPrivateMessage : public QEvent {
public:
    TPrivateMessage(int message, qintptr wParam, qintptr lParam);

    // The one event type all private messages share.
    static QEvent::Type EventType();

    const int Message;
    const qintptr WParam;
    const qintptr LParam;
};

// Queues the message; the posting code finishes before the work starts.
void PostPrivateMessage(QObject* target, int message, qintptr wParam = 0, qintptr lParam = 0);

// The message carried by event, or 0 when it is no private message.
int PrivateMessageOf(const QEvent* event);

}  // namespace pyxa
