// Start-up and end of the windowing system: the Qt application object, the input filter, the
// built-in classes, the default GUI font and Qt's own texts in Chinese.

#include "platform/windowing/Application.h"

#include "platform/files/Process.h"
#include "platform/windowing/Window.h"
#include "platform/windowing/detail/Controls.h"
#include "platform/windowing/detail/FontFaces.h"
#include "platform/windowing/detail/Input.h"
#include "platform/windowing/detail/QtTranslations.h"

#include <QApplication>

#include <atomic>
#include <cstdlib>

namespace kelvarn::platform {
namespace {

// The application object lives until stopWindowing. A process that ends without calling it
// keeps the object to the end: destroying it during static destruction would run Qt after
// parts of this layer are gone.
struct Windowing {
    QApplication* ownApp = nullptr;
    detail::InputFilter* filter = nullptr;
    std::atomic<bool> started = false; // read by posting threads
};

Windowing& windowing() {
    static Windowing w;
    return w;
}

bool displayReachable() {
    const auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v && *v;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

} // namespace

bool startWindowing() {
    Windowing& w = windowing();
    if (w.started)
        return true;
    prepareProcess();
    if (!QCoreApplication::instance()) {
        if (!displayReachable())
            return false;
        static int argc = 1;
        static char name[] = "kelvarn";
        static char* argv[] = {name, nullptr};
        w.ownApp = new QApplication(argc, argv);
    } else if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        return false;
    }
    QApplication::setQuitOnLastWindowClosed(false);
    detail::installFontSubstitutions();
    detail::installQtTranslations();
    QApplication::setFont(detail::defaultQFont());
    w.filter = new detail::InputFilter(qApp);
    qApp->installEventFilter(w.filter);
    detail::registerBuiltinClasses();
    w.started = true;
    return true;
}

void stopWindowing() {
    Windowing& w = windowing();
    if (!w.started)
        return;
    for (detail::WindowObject* window : detail::allWindows())
        if (!window->isChild() && isWindow(window->m_handle))
            destroyWindow(window->m_handle);
    detail::deleteRetiredWidgets();
    detail::clearQueue();
    detail::clearClasses();
    qApp->removeEventFilter(w.filter);
    delete w.filter;
    w.filter = nullptr;
    w.started = false;
    delete w.ownApp;
    w.ownApp = nullptr;
}

bool windowingStarted() {
    return windowing().started;
}

} // namespace kelvarn::platform
