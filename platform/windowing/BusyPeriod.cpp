#include "platform/windowing/BusyPeriod.h"

#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/TestHooks.h"

#include <QApplication>
#include <QCursor>

#include <algorithm>
#include <functional>
#include <utility>

namespace kelvarn::platform {
namespace {

// The innermost period that exists, running or ended; periods nest like the work that opens
// them and go in the reverse order.
BusyPeriod* g_current = nullptr;
bool g_keepAliveOff = false;         // a test hook
std::function<void()> g_whenStarted; // test hooks
std::function<void()> g_whenEnded;

} // namespace

BusyPeriod::BusyPeriod() : m_outer(g_current) {
    g_current = this;
    if (qApp)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    if (auto hook = std::exchange(g_whenStarted, {}))
        hook();
}

BusyPeriod::~BusyPeriod() {
    end();
    if (g_current == this)
        g_current = m_outer;
    for (const WindowHandle window : m_heldCloses)
        requestClose(window);
}

void BusyPeriod::end() {
    if (!m_running)
        return;
    m_running = false;
    if (qApp)
        QApplication::restoreOverrideCursor();
    if (auto hook = std::exchange(g_whenEnded, {}))
        hook();
}

void BusyPeriod::keepAlive() {
    if (m_running && qApp && !g_keepAliveOff)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool BusyPeriod::running() {
    for (const BusyPeriod* p = g_current; p; p = p->m_outer)
        if (p->m_running)
            return true;
    return false;
}

void whenBusyPeriodStarts(std::function<void()> hook) {
    g_whenStarted = std::move(hook);
}

void whenBusyPeriodEnds(std::function<void()> hook) {
    g_whenEnded = std::move(hook);
}

void switchKeepAliveOff(bool off) {
    g_keepAliveOff = off;
}

bool BusyPeriod::exists() {
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

bool holdSessionEnd() {
    if (!g_current)
        return false;
    g_current->m_sessionEnding = true;
    return true;
}

void requestClose(WindowHandle window) {
    if (!holdCloseRequest(window))
        postMessage(window, kWmClose, 0, 0);
}

} // namespace kelvarn::platform
