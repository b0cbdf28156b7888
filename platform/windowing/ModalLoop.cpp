// The loop a modal dialog of this layer runs: the caller's messages keep being dispatched, as
// they are while a Windows dialog is open, and input to our windows is dropped.

#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/detail/Dialogs.h"
#include "platform/windowing/detail/WindowObject.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

namespace kelvarn::platform::detail {

bool runModalDialog(QDialog& dialog, const std::function<void()>& answer, QWidget* owner) {
    bool finished = false;
    QObject::connect(&dialog, &QDialog::finished, &dialog, [&finished] { finished = true; });
    dialog.setWindowModality(Qt::ApplicationModal);
    bool quit = false;
    {
        const ModalDialogOpen open;
        dialog.adjustSize();
        if (owner && owner->isVisible()) {
            QRect frame = dialog.frameGeometry();
            frame.moveCenter(owner->frameGeometry().center());
            dialog.move(frame.topLeft());
        }
        dialog.show();
        dialog.raise();
        dialog.activateWindow();
        if (answer)
            QTimer::singleShot(0, &dialog, answer);
        while (!finished) {
            Message m;
            if (!peekMessage(m, false)) {
                if (!finished)
                    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
                continue;
            }
            if (m.message == kWmQuit) {
                quit = true;
                dialog.reject();
                break;
            }
            peekMessage(m, true);
            translateMessage(m);
            dispatchMessage(m);
        }
    }
    dialog.hide();
    return !quit;
}

} // namespace kelvarn::platform::detail
