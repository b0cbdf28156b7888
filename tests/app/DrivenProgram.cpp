// The converter program with a script driver: the same program image as build/kelvarn (header,
// libraries, entry procedure, procedures, template), started through the same process start,
// plus a driver that plays a script against the running window. The driver takes over once
// the start-up window is loaded and the message loop is idle; it acts only through the
// windowing system's input and the test hooks that answer the real dialogs, and writes what it
// sees to a log.
//
// KELVARN_DRIVER_SCRIPT names the script, one command a line:
//   folder PATH    the next folder dialog gets PATH (UTF-8) typed in and chosen
//   cancel         the next folder dialog is cancelled
//   box            the next message box is logged and answered with OK
//   click UNIT     a left click in the middle of a unit (list, edit, tobmp, topng, choose, png,
//                  bmp)
//   key KEY        a key press for the focused window (tab, left, right, up, down, escape)
//   state          logs the edit box text, the list items, the checks and the selected item
//   focus          logs which unit has the focus
//   grab PATH      renders the window into a PNG file
//   close          the close button of the window's caption
//   remove PATH    deletes the file PATH (UTF-8), as another program might between two clicks
//   resources      logs the open file descriptors, the mappings of pixel files and target
//                  siblings, and the heap in use
//   during K CMD   once a batch runs and has selected list item K (from 0), CMD runs from a timer,
//   as window-system events are handled (so
//                  during the batch only if the program handles them then); logs "during K
//                  busy=B pointer=P" first, B and P 1 while a busy period runs and the busy
//                  pointer shows. CMD does not handle the runtime's queue afterwards, as nothing
//                  of the program's would then.
//   atstart CMD    CMD runs as the next batch starts, before its first item
//   atend CMD      CMD runs once the batch's work is over, before its message box is shown
//   boxclose       the next message box gets the window's close button first (logged as
//                  "boxclose taken=T window=W": T 1 if the request reached the window, W 1 while
//                  the window is there), then is logged and answered with OK like "box"
//   boxsignal      the next message box is logged, then the process sends itself SIGTERM
//   signal NAME... the process sends itself SIGTERM, SIGHUP, SIGINT or SIGKILL, one after the
//                  other
//   time CMD       runs CMD and logs "time CMD MS" with the milliseconds it took
//   pulse          from the next batch on, logs "pulse worst=MS ticks=N" when the batch ends:
//                  the longest time the window system's events waited during the batch
//                  (measured by a 1 ms timer) and how often the timer ran
// KELVARN_DRIVER_NO_KEEPALIVE=1 switches the batch's keep-alive off (to measure its cost).
// KELVARN_DRIVER_LOG names the log file (UTF-8 lines).

#include "app/ConverterProgram.h"
#include "app/template/ConverterUnits.h"
#include "commands/core/ListBoxCommands.h"
#include "platform/files/Codepage.h"
#include "platform/windowing/BusyPeriod.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/Styles.h"
#include "platform/windowing/TestHooks.h"
#include "platform/windowing/Window.h"
#include "platform/windowing/testing/InputSimulation.h"
#include "runtime/core/ArgRecord.h"
#include "runtime/core/RuntimeEntries.h"
#include "runtime/core/TypeTag.h"
#include "runtime/frame/MessageLoop.h"
#include "runtime/frame/WindowRuntimeLink.h"
#include "ui/window/WindowObject.h"
#include "ui/window/WindowRuntime.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <csignal>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace kelvarn;
using namespace kelvarn::app;

void log(const std::string& line) {
    const char* path = std::getenv("KELVARN_DRIVER_LOG");
    if (std::FILE* f = path ? std::fopen(path, "a") : nullptr) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

std::string utf8(const char* gb) {
    return gb ? platform::gbToUtf8(gb) : std::string();
}

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out.append("\\r");
        else if (c == '\n')
            out.append("\\n");
        else
            out.push_back(c);
    }
    return out;
}

// Runtime texts as UTF-8, joined with '|'.
std::string joined(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& text : texts)
        out.append(out.empty() ? "" : "|").append(utf8(text.c_str()));
    return out;
}

const std::pair<const char*, uint32_t> kUnitNames[] = {
    {"list", kFileList},     {"edit", kFolderEdit},     {"tobmp", kToBmpButton},
    {"topng", kToPngButton}, {"choose", kChooseButton}, {"png", kPngRadio},
    {"bmp", kBmpRadio},
};

ui::WindowRecord* converterRecord() {
    return ui::windowTable().find(kConverterWindowId);
}

platform::WindowHandle windowHandle() {
    ui::WindowRecord* record = converterRecord();
    ui::WindowObject* object = record ? ui::loadedWindowObject(*record) : nullptr;
    return object ? object->handle() : 0;
}

platform::WindowHandle unitHandle(uint32_t unitId) {
    ui::WindowRecord* record = converterRecord();
    auto index = record ? record->units.findById(unitId) : std::nullopt;
    ui::WindowObject* object = index ? ui::loadedUnitObject(*record, *index) : nullptr;
    return object ? object->handle() : 0;
}

std::string unitName(platform::WindowHandle handle) {
    if (handle != 0 && handle == windowHandle())
        return "window";
    for (const auto& [name, id] : kUnitNames)
        if (handle != 0 && unitHandle(id) == handle)
            return name;
    return "none";
}

// Commands run from the timer of "during" leave the runtime's queue alone.
bool g_fromTimer = false;

// Handles what the input queued, as the message loop would.
void pump() {
    if (g_fromTimer)
        return;
    runtime::ProcessPendingMessages();
    runtime::ProcessPendingMessages();
}

runtime::ArgRecord listBox() {
    return runtime::makeUnitReference(kConverterWindowId, kFileList, runtime::kTagListBox);
}

void logState() {
    const runtime::RuntimeEntryTable& rt = runtime::runtimeEntries();
    runtime::PropertyValue edit = rt.ReadUnitProperty(kConverterWindowId, kFolderEdit, 8, -1);
    log("edit " + utf8(static_cast<const char*>(edit.address())));
    rt.MemFree(edit.address());

    runtime::ArgRecord args[2] = {listBox(), {}};
    const int32_t count = rt.CallCoreCommand(&commands::ListItemCount, 1, args).integer();
    std::string items;
    for (int32_t i = 0; i < count; ++i) {
        args[1] = runtime::makeInteger(i);
        runtime::ArgRecord text = rt.CallCoreCommand(&commands::ListItemText, 2, args);
        if (i > 0)
            items.push_back('|');
        items.append(utf8(text.text()));
        rt.MemFree(text.address());
    }
    log("list " + items);

    const uint32_t png = rt.ReadUnitProperty(kConverterWindowId, kPngRadio, 18, -1).low;
    const uint32_t bmp = rt.ReadUnitProperty(kConverterWindowId, kBmpRadio, 18, -1).low;
    log("checked png=" + std::to_string(png != 0) + " bmp=" + std::to_string(bmp != 0));
    const auto selected =
        platform::sendMessage(unitHandle(kFileList), platform::kLbGetCurSel, 0, 0);
    log("selected " + std::to_string(static_cast<int>(selected)));
}

uint32_t keyCode(const std::string& name) {
    if (name == "tab")
        return platform::kVkTab;
    if (name == "left")
        return platform::kVkLeft;
    if (name == "right")
        return platform::kVkRight;
    if (name == "up")
        return platform::kVkUp;
    if (name == "down")
        return platform::kVkDown;
    if (name == "escape")
        return platform::kVkEscape;
    return 0;
}

void click(uint32_t unitId) {
    const platform::WindowHandle unit = unitHandle(unitId);
    const platform::Rect r = platform::clientRect(unit);
    const platform::Point middle{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    platform::testing::simulateMousePress(unit, middle);
    platform::testing::simulateMouseRelease(unit, middle);
    pump();
}

void logResources() {
    size_t descriptors = 0;
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator("/proc/self/fd", ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
        ++descriptors;
    size_t mappings = 0;
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);)
        if (line.find("QUILBRIX") != std::string::npos ||
            line.find(".kelvarn") != std::string::npos)
            ++mappings;
    log("resources fds=" + std::to_string(descriptors) + " maps=" + std::to_string(mappings) +
        " heap=" + std::to_string(mallinfo2().uordblks));
}

void runCommand(const std::string& line);

// The longest wait of the window system's events during a batch, seen by a 1 ms timer that can
// only run when they are handled.
void startPulse() {
    static QTimer* timer = nullptr;
    if (timer)
        return;
    timer = new QTimer; // lives as long as the process
    static QElapsedTimer clock;
    static qint64 last = -1;
    static qint64 worst = 0;
    static int ticks = 0;
    QObject::connect(timer, &QTimer::timeout, [] {
        const bool busy = platform::BusyPeriod::running();
        if (busy) {
            if (last >= 0)
                worst = std::max(worst, clock.nsecsElapsed() - last);
            else
                clock.start();
            last = clock.nsecsElapsed();
            ++ticks;
        } else if (last >= 0) {
            char line[96];
            std::snprintf(line, sizeof line, "pulse worst=%.1f ticks=%d", worst / 1e6, ticks);
            log(line);
            last = -1;
            worst = 0;
            ticks = 0;
        }
    });
    timer->start(1);
}

struct Waiting {
    int item = 0;
    std::string command;
};
std::vector<Waiting> g_waiting;

// Runs the waiting commands whose item the list has selected, in script order.
void runWaitingCommands() {
    const auto selected = static_cast<int>(
        platform::sendMessage(unitHandle(kFileList), platform::kLbGetCurSel, 0, 0));
    while (!g_waiting.empty() && platform::BusyPeriod::running() &&
           selected >= g_waiting.front().item) {
        const Waiting next = g_waiting.front();
        g_waiting.erase(g_waiting.begin());
        log("during " + std::to_string(next.item) +
            " busy=" + std::to_string(platform::BusyPeriod::running()) +
            " pointer=" + std::to_string(platform::busyPointerShown()));
        g_fromTimer = true;
        runCommand(next.command);
        g_fromTimer = false;
    }
}

void runCommand(const std::string& line) {
    std::istringstream in(line);
    std::string command;
    in >> command;
    std::string rest;
    std::getline(in >> std::ws, rest);

    if (command == "folder" || command == "cancel") {
        const bool choose = command == "folder";
        platform::answerNextFolderDialog([choose, rest](const platform::FolderDialogSeen& seen) {
            log("dialog " + utf8(seen.instruction.c_str()) +
                (seen.includeFiles ? " with files" : ""));
            log("dialog-labels " + joined(seen.labels));
            log("dialog-buttons " + joined(seen.buttons));
            return choose ? std::optional<std::string>(rest) : std::nullopt;
        });
    } else if (command == "box" || command == "boxclose" || command == "boxsignal") {
        const bool closeFirst = command == "boxclose";
        const bool signal = command == "boxsignal";
        platform::answerNextMessageBox([closeFirst, signal](const platform::MessageBoxSeen& seen) {
            if (closeFirst) {
                const bool taken = platform::testing::simulateCloseButton(windowHandle());
                QCoreApplication::processEvents();
                log("boxclose taken=" + std::to_string(taken) +
                    " window=" + std::to_string(windowHandle() != 0));
            }
            log("box " + escaped(utf8(seen.text.c_str())) + "|" + utf8(seen.caption.c_str()) + "|" +
                std::to_string(seen.style));
            if (signal) {
                std::raise(SIGTERM);
                QCoreApplication::processEvents();
            }
            return platform::kIdOk;
        });
    } else if (command == "atstart" || command == "atend") {
        const auto hook =
            command == "atstart" ? &platform::whenBusyPeriodStarts : &platform::whenBusyPeriodEnds;
        hook([command, rest] {
            log(command + " busy=" + std::to_string(platform::BusyPeriod::running()));
            g_fromTimer = true;
            runCommand(rest);
            g_fromTimer = false;
        });
    } else if (command == "signal") {
        const std::pair<const char*, int> kSignals[] = {
            {"TERM", SIGTERM}, {"HUP", SIGHUP}, {"INT", SIGINT}, {"KILL", SIGKILL}};
        std::istringstream names(rest);
        for (std::string each; names >> each;)
            for (const auto& [name, number] : kSignals)
                if (each == name)
                    std::raise(number);
        // The signal wakes the thread through a pipe; handle that now, as the next look at the
        // window system's events would, so that the batch stops at a boundary near item K.
        QCoreApplication::processEvents();
    } else if (command == "time") {
        QElapsedTimer clock;
        clock.start();
        runCommand(rest);
        log("time " + rest + " " + std::to_string(clock.elapsed()));
    } else if (command == "pulse") {
        startPulse();
    } else if (command == "click") {
        for (const auto& [name, id] : kUnitNames)
            if (rest == name)
                click(id);
    } else if (command == "key") {
        platform::testing::simulateKey(platform::focusWindow(), keyCode(rest), "");
        pump();
    } else if (command == "state") {
        logState();
    } else if (command == "focus") {
        log("focus " + unitName(platform::focusWindow()));
    } else if (command == "grab") {
        log(std::string("grab ") +
            (platform::grabWindowToPng(windowHandle(), rest) ? "ok" : "failed"));
    } else if (command == "close") {
        platform::testing::simulateCloseButton(windowHandle());
        pump();
    } else if (command == "remove") {
        log(std::string("removed ") + (std::remove(rest.c_str()) == 0 ? "ok" : "failed"));
    } else if (command == "resources") {
        logResources();
    } else if (command == "during") {
        std::istringstream parts(rest);
        Waiting waiting;
        parts >> waiting.item >> std::ws;
        std::getline(parts, waiting.command);
        g_waiting.push_back(waiting);
        static QTimer* timer = nullptr;
        if (!timer) {
            timer = new QTimer; // lives as long as the process
            QObject::connect(timer, &QTimer::timeout, &runWaitingCommands);
            timer->start(5);
        }
    } else if (!command.empty()) {
        log("unknown command " + command);
    }
}

void runScript(intptr_t) {
    static bool started = false;
    if (started)
        return;
    started = true;
    if (const char* off = std::getenv("KELVARN_DRIVER_NO_KEEPALIVE"); off && *off == '1')
        platform::switchKeepAliveOff(true);
    pump(); // the window becomes active and its list box takes the focus
    const char* path = std::getenv("KELVARN_DRIVER_SCRIPT");
    std::ifstream script(path ? path : "");
    for (std::string line; std::getline(script, line);)
        runCommand(line);
    if (platform::pendingDialogAnswers() != 0)
        log("unused answers " + std::to_string(platform::pendingDialogAnswers()));
    if (windowHandle() != 0) {
        log("script ended with the window open");
        platform::destroyWindow(windowHandle());
    }
}

bool (*g_loadStartupWindow)(uint32_t) = nullptr;

// The start-up window as the runtime loads it; then the driver waits for the loop's first idle
// moment.
bool loadStartupWindowAndDrive(uint32_t windowId) {
    const bool loaded = g_loadStartupWindow(windowId);
    if (loaded)
        runtime::addIdleCallback(windowHandle(), &runScript, 0);
    return loaded;
}

void installLibrariesAndDriver() {
    installConverterLibraries();
    runtime::WindowRuntimeLink link = runtime::windowRuntimeLink();
    g_loadStartupWindow = link.loadStartupWindow;
    link.loadStartupWindow = &loadStartupWindowAndDrive;
    runtime::setWindowRuntimeLink(link);
}

runtime::ProgramImage drivenImage() {
    runtime::ProgramImage image = converterProgramImage();
    image.installLibraries = &installLibrariesAndDriver;
    return image;
}

const runtime::ProgramImage g_image = drivenImage();
const runtime::ProgramRegistration g_registration(g_image);

} // namespace
