#include "PrivateMessages.h"

#include <QCoreApplication>

namespace pyxa {

TPrivateMessage::TPrivateMessage(int message, qintptr wParam, qintptr lParam)
    : QEvent(EventType()), Message(message), WParam(wParam), LParam(lParam)
{
}

QEvent::Type TPrivateMessage::EventType()
{
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void PostPrivateMessage(QObject* target, int message, qintptr wParam, qintptr lParam)
{
    QCoreApplication::postEvent(target, new TPrivateMessage(message, wParam, lParam));
}

int PrivateMessageOf(const QEvent* event)
{
    if (event->type() != TPrivateMessage::EventType())
        return 0;
    return static_cast<const TPrivateMessage*>(event)->Message;
}

}  // namespace pyxa
