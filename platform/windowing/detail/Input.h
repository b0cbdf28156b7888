#pragma once
// Input interception: the application-wide event filter turns input for our windows into
// queued messages and holds the Qt event until the message is dispatched.

#include "platform/windowing/Types.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

namespace kelvarn::platform::detail {

class WindowObject;

struct HeldInput {
    std::unique_ptr<QEvent> event; // the mouse, key or wheel event as the window system sent it
    QPointer<QWidget> target;      // the widget it was aimed at
    QString text;                  // character messages: the character
    Qt::KeyboardModifiers modifiers;
    Qt::MouseButtons buttons;
    bool character = false;
    bool delivered = false;
    bool usedByMenu = false; // a menu shortcut or mnemonic took the key: nothing else sees it
};

void queueInput(const Message& message, std::shared_ptr<HeldInput> held);
// The held input of the message now being dispatched to window, if it is that message.
std::shared_ptr<HeldInput> dispatchedInput(WindowHandle window, std::uint32_t message);
// Hands the held event to its widget (once).
void deliverHeldInput(WindowObject& window, std::uint32_t message, WParam wParam);
void clearQueue();
std::shared_ptr<HeldInput> takenInput(const Message& message);

class InputFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace kelvarn::platform::detail
