// Start-up and end of the windowing system: the Qt application object, the input filter, the
// built-in classes and the default GUI font.

#include "platform/windowing/Application.h"

#include "platform/files/Process.h"
#include "platform/windowing/Window.h"
#include "platform/windowing/detail/Controls.h"
#include "platform/windowing/detail/Input.h"

#include <QApplication>
#include <QFont>

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

void addFontSubstitutions() {
    // Faces that Windows programs name and a Linux desktop lacks draw with the CJK face we ship.
    const char* faces[] = {"宋体",         "新宋体",         "黑体",          "楷体",
                           "仿宋",         "微软雅黑",       "SimSun",        "NSimSun",
                           "SimHei",       "KaiTi",          "FangSong",      "Microsoft YaHei",
                           "MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif", "System"};
    for (const char* face : faces)
        QFont::insertSubstitution(QString::fromUtf8(face), QStringLiteral("WenQuanYi Micro Hei"));
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
    addFontSubstitutions();
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
