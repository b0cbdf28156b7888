#include "platform/windowing/BusyPeriod.h"

#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"

#include <QApplication>
#include <QCursor>

#include <algorithm>

namespace kelvarn::platform {
namespace {

// The innermost period that runs; periods nest like the work that opens them.
BusyPeriod* g_current = nullptr;

} // namespace

BusyPeriod::BusyPeriod() : m_outer(g_current) {
    g_current = this;
    if (qApp)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyPeriod::~BusyPeriod() {
    end();
    for (const WindowHandle window : m_heldCloses)
        postMessage(window, kWmClose, 0, 0);
}

void BusyPeriod::end() {
    if (!m_running)
        return;
    m_running = false;
    if (g_current == this)
        g_current = m_outer;
    if (qApp)
        QApplication::restoreOverrideCursor();
}

void BusyPeriod::keepAlive() {
    if (m_running && qApp)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool BusyPeriod::running() {
    return g_current != nullptr;
}

bool holdCloseRequest(WindowHandle window) {
    if (!g_current)
        return false;
    std::vector<WindowHandle>& held = g_current->m_heldCloses;
    if (std::find(held.begin(), held.end(), window) == held.end())
        held.push_back(window);
    return true;
}

} // namespace kelvarn::platform
