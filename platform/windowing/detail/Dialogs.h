#pragma once
// Modal dialogs of this layer and the test hooks that answer them.

#include "platform/windowing/TestHooks.h"

#include <QDialog>

#include <functional>

namespace kelvarn::platform::detail {

// Shows the dialog and runs the caller's messages until it closes; our windows get no input
// meanwhile. answer, when set, runs once the dialog is up. Returns false when a quit message
// ended the wait (the dialog is then rejected and the quit message stays queued). The dialog is
// no child of its owner (a message handled meanwhile may destroy the owner); it is only placed
// over it.
bool runModalDialog(QDialog& dialog, const std::function<void()>& answer, QWidget* owner);

std::function<int(const MessageBoxSeen&)> takeMessageBoxAnswer();
std::function<std::optional<std::string>(const FolderDialogSeen&)> takeFolderAnswer();

} // namespace kelvarn::platform::detail
