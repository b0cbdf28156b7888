// The thread's message queue: posted and input messages in arrival order, the quit flag, sent
// messages from other threads, translation and dispatch.

#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/SessionEnd.h"

#include "platform/windowing/Application.h"
#include "platform/windowing/Menu.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Window.h"
#include "platform/windowing/detail/Input.h"
#include "platform/windowing/detail/Menus.h"
#include "platform/windowing/detail/QtText.h"
#include "platform/windowing/detail/WindowObject.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QThread>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace kelvarn::platform {
namespace {

struct Entry {
    Message message;
    std::shared_ptr<detail::HeldInput> held;
};

struct CrossThreadSend {
    WindowHandle window;
    std::uint32_t message;
    WParam wParam;
    LParam lParam;
    LResult result = 0;
    bool done = false;
};

struct Queue {
    std::mutex mutex;
    std::condition_variable sendDone;
    std::deque<Entry> entries;
    std::deque<CrossThreadSend*> sends;
    bool quitPending = false;
    int quitCode = 0;
    std::uint32_t lastSerial = 0;
    // GUI thread only: taken from the queue, not dispatched yet (newest last).
    std::deque<Entry> taken;
    // GUI thread only: the message being dispatched.
    std::vector<Entry*> dispatching;
    Qt::KeyboardModifiers lastModifiers;
    Qt::MouseButtons lastButtons;
};

Queue& queue() {
    static Queue q;
    return q;
}

// The message being dispatched, for the scope's lifetime (dispatches nest).
class Dispatching {
public:
    explicit Dispatching(Entry* entry) { queue().dispatching.push_back(entry); }
    ~Dispatching() { queue().dispatching.pop_back(); }
    Dispatching(const Dispatching&) = delete;
    Dispatching& operator=(const Dispatching&) = delete;
};

bool onGuiThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void wakeGuiThread() {
    if (const QCoreApplication* app = QCoreApplication::instance())
        if (QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance(app->thread()))
            d->wakeUp();
}

void runCrossThreadSends() {
    Queue& q = queue();
    for (;;) {
        CrossThreadSend* send = nullptr;
        {
            std::lock_guard lock(q.mutex);
            if (q.sends.empty())
                return;
            send = q.sends.front();
            q.sends.pop_front();
        }
        const LResult result = sendMessage(send->window, send->message, send->wParam, send->lParam);
        {
            std::lock_guard lock(q.mutex);
            send->result = result;
            send->done = true;
        }
        q.sendDone.notify_all();
    }
}

void keepTaken(Entry entry) {
    Queue& q = queue();
    if (entry.held) {
        q.lastModifiers = entry.held->modifiers;
        q.lastButtons = entry.held->buttons;
    }
    q.taken.push_back(std::move(entry));
    // A message that is taken and never dispatched simply drops its held event.
    while (q.taken.size() > 16)
        q.taken.pop_front();
}

// Called with the queue's mutex held.
std::uint32_t nextSerial(Queue& q) {
    if (++q.lastSerial == 0) // after four billion messages; 0 stays "not from the queue"
        ++q.lastSerial;
    return q.lastSerial;
}

std::deque<Entry>::iterator takenEntry(const Message& message) {
    std::deque<Entry>& taken = queue().taken;
    if (message.serial == 0)
        return taken.end();
    return std::find_if(taken.begin(), taken.end(),
                        [&](const Entry& e) { return e.message.serial == message.serial; });
}

// The held event of a key-down taken from the queue that no menu has used yet, or null.
std::shared_ptr<detail::HeldInput> unusedKeyDown(const Message& message) {
    if (message.message != kWmKeyDown && message.message != kWmSysKeyDown)
        return nullptr;
    std::shared_ptr<detail::HeldInput> held = detail::takenInput(message);
    if (!held || !held->event || held->usedByMenu)
        return nullptr;
    return held;
}

// Offers the key to its window's menu: shortcuts, and with mnemonics Alt with a bar mnemonic.
// A key the menu takes is marked, so that nothing else acts on it.
bool offerKeyToMenu(const Message& keyDown, detail::HeldInput& held, bool mnemonics) {
    if (!detail::menuUsesKey(keyDown, held.modifiers, mnemonics))
        return false;
    held.usedByMenu = true;
    return true;
}

} // namespace

namespace detail {

void queueInput(const Message& input, std::shared_ptr<HeldInput> held) {
    Queue& q = queue();
    std::lock_guard lock(q.mutex);
    Message message = input;
    message.serial = nextSerial(q);
    // Like Windows, only the newest mouse move waits in the queue.
    if (message.message == kWmMouseMove && !q.entries.empty()) {
        Entry& last = q.entries.back();
        if (last.message.message == kWmMouseMove && last.message.window == message.window &&
            last.message.wParam == message.wParam) {
            last = Entry{message, std::move(held)};
            return;
        }
    }
    q.entries.push_back(Entry{message, std::move(held)});
}

std::shared_ptr<HeldInput> dispatchedInput(WindowHandle window, std::uint32_t message) {
    Queue& q = queue();
    if (q.dispatching.empty())
        return nullptr;
    Entry* entry = q.dispatching.back();
    if (!entry || entry->message.window != window || entry->message.message != message)
        return nullptr;
    return entry->held;
}

// The held input of a message taken from the queue and not dispatched yet.
std::shared_ptr<HeldInput> takenInput(const Message& message) {
    const auto it = takenEntry(message);
    return it == queue().taken.end() ? nullptr : it->held;
}

void clearQueue() {
    Queue& q = queue();
    std::lock_guard lock(q.mutex);
    q.entries.clear();
    q.taken.clear();
    q.quitPending = false;
}

} // namespace detail

bool postMessage(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    if (!windowingStarted())
        return false;
    if (window != 0 && onGuiThread() && !isWindow(window))
        return false;
    Message m;
    m.window = window;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = tickCount();
    {
        Queue& q = queue();
        std::lock_guard lock(q.mutex);
        m.serial = nextSerial(q);
        q.entries.push_back(Entry{m, nullptr});
    }
    wakeGuiThread();
    return true;
}

void postQuitMessage(int exitCode) {
    Queue& q = queue();
    {
        std::lock_guard lock(q.mutex);
        q.quitPending = true;
        q.quitCode = exitCode;
    }
    wakeGuiThread();
}

LResult sendMessage(WindowHandle window, std::uint32_t message, WParam wParam, LParam lParam) {
    if (!windowingStarted())
        return 0;
    if (!onGuiThread()) {
        CrossThreadSend send{window, message, wParam, lParam};
        Queue& q = queue();
        std::unique_lock lock(q.mutex);
        q.sends.push_back(&send);
        lock.unlock();
        wakeGuiThread();
        lock.lock();
        q.sendDone.wait(lock, [&] { return send.done; });
        return send.result;
    }
    detail::WindowObject* target = detail::findWindow(window);
    if (!target)
        return 0;
    // The procedure may replace itself or destroy the window: call a copy.
    const WindowProc proc = target->m_proc;
    const detail::ProcedureCall call;
    return proc ? proc(window, message, wParam, lParam)
                : target->classProc(message, wParam, lParam);
}

bool peekMessage(Message& out, bool remove) {
    if (!windowingStarted())
        return false;
    detail::deleteRetiredWidgets();
    runCrossThreadSends();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    runCrossThreadSends();
    Queue& q = queue();
    std::unique_lock lock(q.mutex);
    if (!q.entries.empty()) {
        out = q.entries.front().message;
        if (remove) {
            Entry entry = std::move(q.entries.front());
            q.entries.pop_front();
            lock.unlock();
            keepTaken(std::move(entry));
        }
        return true;
    }
    if (q.quitPending) {
        out = Message{};
        out.message = kWmQuit;
        out.wParam = static_cast<WParam>(static_cast<std::intptr_t>(q.quitCode));
        out.time = tickCount();
        if (remove)
            q.quitPending = false;
        return true;
    }
    return false;
}

bool getMessage(Message& out) {
    if (!windowingStarted()) {
        out = Message{};
        out.message = kWmQuit;
        return false;
    }
    while (!peekMessage(out, true)) {
        sessionEndSettled();
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return out.message != kWmQuit;
}

bool translateMessage(const Message& message) {
    if (translateAccelerator(message))
        return true;
    Queue& q = queue();
    const std::shared_ptr<detail::HeldInput> held = unusedKeyDown(message);
    if (!held)
        return false;
    // Alt with a bar mnemonic, once the caller's own handling let the key pass.
    if (offerKeyToMenu(message, *held, true))
        return true;
    const auto* key = static_cast<const QKeyEvent*>(held->event.get());
    const QString text = key->text();
    if (text.isEmpty())
        return false;
    std::vector<Entry> characters;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype step = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString one = text.mid(i, step);
        i += step - 1;
        if (one == QStringLiteral("\x7f"))
            continue; // Delete makes no character, as on Windows
        const std::string bytes = detail::toRuntime(one);
        WParam code = 0;
        for (const char c : bytes)
            code = (code << 8) | static_cast<unsigned char>(c);
        Entry entry;
        entry.message = message;
        entry.message.message = message.message == kWmSysKeyDown ? kWmSysChar : kWmChar;
        entry.message.wParam = code;
        entry.held = std::make_shared<detail::HeldInput>();
        entry.held->target = held->target;
        entry.held->text = one;
        entry.held->modifiers = held->modifiers;
        entry.held->character = true;
        characters.push_back(std::move(entry));
    }
    if (characters.empty())
        return false;
    std::lock_guard lock(q.mutex);
    for (Entry& entry : characters)
        entry.message.serial = nextSerial(q);
    q.entries.insert(q.entries.begin(), characters.begin(), characters.end());
    return true;
}

bool translateAccelerator(const Message& keyDown) {
    const std::shared_ptr<detail::HeldInput> held = unusedKeyDown(keyDown);
    return held && offerKeyToMenu(keyDown, *held, false);
}

LResult dispatchMessage(const Message& message) {
    if (message.window == 0 || !isWindow(message.window))
        return 0;
    Queue& q = queue();
    Entry* entry = nullptr;
    Entry found;
    if (const auto it = takenEntry(message); it != q.taken.end()) {
        found = std::move(*it);
        q.taken.erase(it);
        entry = &found;
    }
    if (entry && entry->held && entry->held->usedByMenu)
        return 0;
    const Dispatching dispatching(entry);
    return sendMessage(message.window, message.message, message.wParam, message.lParam);
}

bool isIdleMessage(const Message& message) {
    static Point lastPoint{-1, -1};
    static std::uint32_t lastMessage = 0;
    if (message.message == kWmMouseMove || message.message == kWmNcMouseMove) {
        if (message.message == lastMessage && message.point == lastPoint)
            return false;
        lastPoint = message.point;
        lastMessage = message.message;
        return true;
    }
    return message.message != kWmPaint && message.message != kWmSysTimer;
}

std::int16_t keyState(std::uint32_t virtualKey) {
    const Queue& q = queue();
    bool down = false;
    switch (virtualKey) {
    case kVkShift:
        down = q.lastModifiers.testFlag(Qt::ShiftModifier);
        break;
    case kVkControl:
        down = q.lastModifiers.testFlag(Qt::ControlModifier);
        break;
    case kVkMenu:
        down = q.lastModifiers.testFlag(Qt::AltModifier);
        break;
    case kVkLButton:
        down = q.lastButtons.testFlag(Qt::LeftButton);
        break;
    case kVkRButton:
        down = q.lastButtons.testFlag(Qt::RightButton);
        break;
    case kVkMButton:
        down = q.lastButtons.testFlag(Qt::MiddleButton);
        break;
    default:
        break;
    }
    return down ? static_cast<std::int16_t>(kKeyStateDown) : 0;
}

} // namespace kelvarn::platform
