#include "platform/windowing/SessionEnd.h"

#include "platform/files/PendingFiles.h"
#include "platform/windowing/BusyPeriod.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Window.h"
#include "platform/windowing/detail/WindowObject.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace kelvarn::platform {
namespace {

constexpr std::array kSessionSignals{SIGTERM, SIGHUP, SIGINT};

// Written by the handler, read by the user-interface thread.
volatile std::sig_atomic_t g_signalled = 0;
int g_wakeRead = -1;
int g_wakeWrite = -1;
bool g_ending = false;

void onSessionSignal(int signal) {
    if (g_signalled != 0) {
        // The first request is still being handled: the sender insists. The process's files
        // are unnamed or unlinked; a hidden sibling, where the file system forced one, goes here.
        removePendingFiles();
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    g_signalled = signal;
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_wakeWrite, &byte, 1);
    errno = saved;
}

void endSession() {
    char bytes[16];
    while (::read(g_wakeRead, bytes, sizeof bytes) > 0) {
    }
    if (g_signalled == 0)
        return;
    g_ending = true;
    // Every modal window closes first, innermost first: our dialogs (their loops end when they
    // finish) and a box Qt runs in a loop of its own inside one of them (the folder dialog's
    // warning that a folder does not exist), which would hold everything up until answered.
    for (int guard = 0; guard < 16; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            break;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
        else
            modal->close();
        if (QApplication::activeModalWidget() == modal)
            break; // refused to close: leave it to its owner
    }
    holdSessionEnd();
    bool asked = false;
    for (detail::WindowObject* window : detail::allWindows())
        if (!window->isChild() && isWindowVisible(window->m_handle)) {
            requestClose(window->m_handle);
            asked = true;
        }
    // A program with no window on the screen has nothing to close: it ends.
    if (!asked)
        postQuitMessage(0);
}

} // namespace

void watchSessionEnd() {
    if (g_wakeRead >= 0 || !QCoreApplication::instance())
        return;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    g_wakeRead = fds[0];
    g_wakeWrite = fds[1];
    // Lives as long as the application object.
    auto* notifier =
        new QSocketNotifier(g_wakeRead, QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier, [] { endSession(); });
    struct sigaction action = {};
    action.sa_handler = &onSessionSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : kSessionSignals)
        sigaddset(&action.sa_mask, signal);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSessionSignals)
        sigaction(signal, &action, nullptr);
}

bool sessionEnding() {
    return g_ending;
}

void sessionEndSettled() {
    if (!g_ending || BusyPeriod::exists())
        return;
    g_ending = false;
    g_signalled = 0;
}

} // namespace kelvarn::platform
