// A second program on the runtime, for the window features the converter does not use: a menu
// bar with a sub-menu (a checked, a disabled, a hidden item, a separator, shortcuts), a pictured
// Button and RadioBox, a Label and a window background with pictures, a help file opened by F1,
// a window the user cannot move, keys through Qt's whole way (a Button sharing a bar mnemonic,
// key events that refuse keys, a busy period), and a looping background sound. It is built like the
// converter: a program image with a header and library table, a form template written from the
// description below, and procedures in the code area. It starts through the real process start;
// once the start-up window is loaded and the loop is idle, a driver plays a fixed session against
// it through the windowing system's input and logs what it sees next to what the procedures log.
//
// KELVARN_TEST_LOG names the log file; KELVARN_TEST_GRAB, when set, names a PNG file the window
// is rendered into at the end of the session. The sound plays wherever SDL's environment says
// (the test's disk driver and file).

#include "platform/files/Codepage.h"
#include "platform/sound/testing/SoundFiles.h"
#include "platform/windowing/BusyPeriod.h"
#include "platform/windowing/Desktop.h"
#include "platform/windowing/Menu.h"
#include "platform/windowing/MessageQueue.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/TestHooks.h"
#include "platform/windowing/Window.h"
#include "platform/windowing/testing/InputSimulation.h"
#include "platform/windowing/testing/MenuSimulation.h"
#include "platform/windowing/testing/PictureFiles.h"
#include "runtime/core/EventRecords.h"
#include "runtime/core/RuntimeEntries.h"
#include "runtime/core/RuntimeServices.h"
#include "runtime/core/Text.h"
#include "runtime/core/TypeTag.h"
#include "runtime/frame/MessageLoop.h"
#include "runtime/frame/ProgramImage.h"
#include "runtime/frame/WindowRuntimeLink.h"
#include "ui/template/ButtonProperties.h"
#include "ui/template/FormIds.h"
#include "ui/template/FormTemplateWriter.h"
#include "ui/template/LabelProperties.h"
#include "ui/template/RadioBoxProperties.h"
#include "ui/template/UnitRecord.h"
#include "ui/template/WindowProperties.h"
#include "ui/window/CoreDataTypes.h"
#include "ui/window/FormWindow.h"
#include "ui/window/WindowObject.h"
#include "ui/window/WindowRuntime.h"
#include "ui/window/WindowRuntimeInstall.h"

#include <cfenv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

namespace {

using namespace kelvarn;
using platform::kShortcutControl;
using platform::kShortcutShift;

constexpr uint32_t kWindowId = 0x52010001;
constexpr uint32_t kCodeBase = 0x00400000;
constexpr uint32_t kVkF5 = platform::kVkF1 + 4;

// Code offsets of the procedures.
constexpr uint32_t kOnOpen = 0x100, kOnRecent = 0x200, kOnPrint = 0x300, kOnSecret = 0x400,
                   kOnMark = 0x500, kOnButton = 0x600, kOnTools = 0x700, kOnTune = 0x800,
                   kOnKeyDown = 0x900;

// ---- The form template, as a description ----

struct MenuRow {
    uint32_t id;
    std::string_view name;
    std::string_view caption;
    uint8_t level;
    uint32_t flags; // bit 0 hidden, bit 1 disabled, bit 2 checked
    uint32_t shortcut;
    uint32_t procedure;
};

constexpr uint32_t kFileMenu = 0x26010001, kOpenItem = 0x26010002, kRecentItem = 0x26010003,
                   kRule = 0x26010004, kPrintItem = 0x26010005, kSecretItem = 0x26010006,
                   kMarkItem = 0x26010007, kToolsItem = 0x26010008;
constexpr uint32_t kHidden = 1, kDisabled = 2, kChecked = 4;

// clang-format off
constexpr MenuRow kMenu[] = {
    // id          name       caption     level flags      shortcut                         procedure
    {kFileMenu,   "file",    "&File",    0,    0,         0,                               ui::kUnboundProcedure},
    {kOpenItem,   "open",    "&Open",    1,    0,         kShortcutControl | 'O',          kOnOpen},
    {kRecentItem, "recent",  "&Recent",  1,    kChecked,  kShortcutControl | 'R',          kOnRecent},
    {kRule,       "rule",    "-",        1,    0,         0,                               ui::kUnboundProcedure},
    {kPrintItem,  "print",   "&Print",   1,    kDisabled, kShortcutControl | 'P',          kOnPrint},
    {kSecretItem, "secret",  "&Secret",  1,    kHidden,   kShortcutControl | kShortcutShift | 'S', kOnSecret},
    {kMarkItem,   "mark",    "&Mark",    0,    0,         kVkF5,                 kOnMark},
    {kToolsItem,  "tools",   "&Tools",   0,    0,         0,                     kOnTools},
};
// clang-format on

constexpr uint32_t kLabel = 0x16010002, kButton = 0x16010003, kRadio = 0x16010004,
                   kTune = 0x16010005;

// Picture colours as 0xAABBGGRR.
constexpr uint32_t kRed = 0xFF0000FF, kGreen = 0xFF00FF00, kBlue = 0xFFFF0000, kYellow = 0xFF00FFFF,
                   kMagenta = 0xFFFF00FF, kCyan = 0xFFFFFF00;

ui::UnitRecord unit(uint32_t type, int32_t left, int32_t top, int32_t width, int32_t height) {
    ui::UnitRecord r;
    r.typeTag = type;
    r.left = left;
    r.top = top;
    r.width = width;
    r.height = height;
    r.stateFlags = ui::kStateVisible | ui::kStateTabStop;
    return r;
}

std::vector<uint8_t> windowBlock() {
    ui::WindowProperties w;
    w.title = "Corners";
    w.backgroundColour = 0x808080;
    // 2 x 2 BMP tiled across the client area: red, green / blue, yellow.
    w.backgroundPicture =
        platform::testing::pictureFile("BMP", 2, 2, {kRed, kGreen, kBlue, kYellow});
    w.pictureMode = 1;
    w.movable = 0;
    w.f1OpensHelp = 1;
    w.helpFileName = platform::utf8ToGb("help\\角落.hlp");
    w.startPosition = 0;
    // 60 ms of 1 kHz and 90 ms of silence, again and again.
    using platform::testing::tone;
    w.backgroundSound =
        platform::testing::waveFile(platform::testing::joined({tone(1000, 60), tone(0, 90)}));
    w.soundPlayMode = 1;
    return w.write();
}

std::vector<uint8_t> labelBlock() {
    ui::LabelProperties l;
    l.caption.clear();
    l.backgroundColour = 0xFFFFFF;
    l.backgroundPicture =
        platform::testing::pictureFile("PNG", 4, 4, std::vector<uint32_t>(16, kBlue));
    l.pictureMode = 2; // centred
    return l.write();
}

std::vector<uint8_t> buttonBlock() {
    ui::ButtonProperties b;
    b.picture = platform::testing::pictureFile("BMP", 8, 8, std::vector<uint32_t>(64, kMagenta));
    return b.write();
}

// A plain Button whose mnemonic T is also the bar's Tools.
std::vector<uint8_t> tuneBlock() {
    ui::ButtonProperties b;
    b.caption = "&Tune";
    return b.write();
}

std::vector<uint8_t> radioBlock() {
    ui::RadioBoxProperties r;
    r.picture = platform::testing::pictureFile("ICO", 8, 8, std::vector<uint32_t>(64, kCyan));
    return r.write();
}

std::vector<uint8_t> buildTemplate() {
    ui::UnitRecord window = unit(runtime::kTagWindow, 40, 40, 320, 240);
    window.propertyBlock = windowBlock();
    window.bindings = {{ui::kEventKeyDown, kOnKeyDown}};
    ui::UnitRecord label = unit(runtime::kTagLabel, 160, 20, 40, 40);
    label.propertyBlock = labelBlock();
    ui::UnitRecord button = unit(runtime::kTagButton, 160, 80, 60, 40);
    button.propertyBlock = buttonBlock();
    button.bindings = {{0, kOnButton}};
    ui::UnitRecord radio = unit(runtime::kTagRadioBox, 160, 130, 80, 30);
    radio.propertyBlock = radioBlock();
    ui::UnitRecord tune = unit(runtime::kTagButton, 20, 180, 70, 24);
    tune.propertyBlock = tuneBlock();
    tune.bindings = {{0, kOnTune}};

    ui::WindowDescription description;
    description.id = kWindowId;
    description.records.push_back({ui::kWindowOwnRecordId, ui::encodeUnitRecord(window)});
    for (const MenuRow& row : kMenu) {
        ui::MenuItemRecord item;
        item.typeTag = ui::kTagMenuItem;
        item.name = row.name;
        item.flags = row.flags;
        item.caption = row.caption;
        item.procedure = row.procedure;
        item.rest = ui::encodeMenuItemTail({row.level, row.shortcut});
        description.records.push_back({row.id, ui::encodeMenuItemRecord(item)});
    }
    description.records.push_back({kLabel, ui::encodeUnitRecord(label)});
    description.records.push_back({kButton, ui::encodeUnitRecord(button)});
    description.records.push_back({kRadio, ui::encodeUnitRecord(radio)});
    description.records.push_back({kTune, ui::encodeUnitRecord(tune)});
    return ui::writeFormTemplate({description});
}

const std::vector<uint8_t>& templateBytes() {
    static const std::vector<uint8_t> bytes = buildTemplate();
    return bytes;
}

// ---- Logging ----

void log(const std::string& line) {
    const char* path = std::getenv("KELVARN_TEST_LOG");
    if (std::FILE* f = path ? std::fopen(path, "a") : nullptr) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

std::string nameOf(uint32_t id) {
    for (const MenuRow& row : kMenu)
        if (row.id == id)
            return std::string(row.name);
    return id == kButton ? "button" : id == kTune ? "tune" : "unit?";
}

// ---- Procedures ----

const runtime::RuntimeEntryTable& rt() {
    return runtime::runtimeEntries();
}

// Every procedure logs the unit it runs for, as the runtime reports the event source.
void logRun() {
    uint32_t source[2] = {};
    runtime::RuntimeService(runtime::kServiceCurrentEventSource, reinterpret_cast<intptr_t>(source),
                            0);
    log("ran " + nameOf(source[1]));
}

runtime::ProcedureResult onItem(std::span<const uint32_t>) {
    logRun();
    return runtime::ProcedureResult::nothing();
}

void writeItem(uint32_t item, int32_t property, uint32_t value) {
    rt().WriteUnitProperty(kWindowId, item, property, -1, value, 0);
}

// Renames Open, unchecks Recent, enables Print and shows Secret, then reads the four
// properties back.
runtime::ProcedureResult onMark(std::span<const uint32_t>) {
    logRun();
    static const std::string caption = "&Load";
    runtime::PropertyValue text;
    text.setAddress(caption.c_str());
    rt().WriteUnitProperty(kWindowId, kOpenItem, 0, -1, text.low, text.high);
    writeItem(kRecentItem, 1, 0);
    writeItem(kPrintItem, 2, 0);
    writeItem(kSecretItem, 3, 1);
    runtime::PropertyValue read = rt().ReadUnitProperty(kWindowId, kOpenItem, 0, -1);
    std::string line = "read " + std::string(static_cast<const char*>(read.address()));
    rt().MemFree(read.address());
    line += " checked=" + std::to_string(rt().ReadUnitProperty(kWindowId, kRecentItem, 1, -1).low);
    line += " disabled=" + std::to_string(rt().ReadUnitProperty(kWindowId, kPrintItem, 2, -1).low);
    line += " visible=" + std::to_string(rt().ReadUnitProperty(kWindowId, kSecretItem, 3, -1).low);
    log(line);
    return runtime::ProcedureResult::nothing();
}

// While set, the window's key-down event logs each key and refuses it.
bool g_refuseKeys = false;

runtime::ProcedureResult onKeyDown(std::span<const uint32_t> args) {
    if (!g_refuseKeys || args.size() < 2)
        return runtime::ProcedureResult::nothing();
    log("key down " + std::to_string(args[0]) + " " + std::to_string(args[1]));
    return runtime::ProcedureResult::logical(false);
}

int32_t entryProcedure() {
    rt().CallHelper(runtime::kHelperInitializeProgram, nullptr, 0);
    std::fesetenv(FE_DFL_ENV);
    rt().LoadStartupWindow(kWindowId);
    rt().RunMessageLoop();
    log("loop ended");
    return 0;
}

// ---- The driver ----

platform::WindowHandle windowHandle() {
    ui::WindowRecord* record = ui::windowTable().find(kWindowId);
    ui::WindowObject* object = record ? ui::loadedWindowObject(*record) : nullptr;
    return object ? object->handle() : 0;
}

platform::WindowHandle unitHandle(uint32_t id) {
    ui::WindowRecord* record = ui::windowTable().find(kWindowId);
    auto index = record ? record->units.findById(id) : std::nullopt;
    ui::WindowObject* object = index ? ui::loadedUnitObject(*record, *index) : nullptr;
    return object ? object->handle() : 0;
}

void pump() {
    runtime::ProcessPendingMessages();
    runtime::ProcessPendingMessages();
}

// The bar as shown: "depth:text" per entry, with [x] checked, [off] disabled, > a sub-menu.
void logBar() {
    std::string line = "bar";
    for (const auto& entry : platform::testing::shownMenu(windowHandle())) {
        std::string text = entry.text;
        for (char& c : text)
            c = c == '\t' ? ' ' : c;
        line += " | " + std::to_string(entry.depth) + ":" + text + (entry.checked ? "[x]" : "") +
                (entry.enabled ? "" : "[off]") + (entry.opensSubmenu ? ">" : "");
    }
    log(line);
}

// Closes a sub-menu left open (a disabled entry keeps it open) and says so.
void settleMenu() {
    if (platform::testing::menuIsOpen()) {
        log("menu stayed open");
        platform::testing::closeOpenMenus();
    }
    pump();
}

// One command chosen three ways. `row` is the entry's row in the File sub-menu (separators
// count), or -1 for the bar's Mark.
void chooseThreeWays(const std::string& name, int row, char mnemonic, uint32_t shortcut) {
    using namespace platform::testing;
    const platform::WindowHandle window = windowHandle();
    log("mouse " + name);
    clickMenuBarEntry(window, row < 0 ? 1 : 0);
    if (row >= 0)
        clickOpenMenuEntry(row);
    settleMenu();
    log("mnemonic " + name);
    if (row < 0) {
        simulateKey(window, static_cast<uint8_t>(mnemonic), std::string(1, char(mnemonic + 32)),
                    true, true);
    } else {
        simulateKey(window, 'F', "f", true, true);
        pump(); // the bar's mnemonics come after the window's own keyboard handling
        log(std::string("sub-menu ") + (menuIsOpen() ? "open" : "closed"));
        typeIntoOpenMenu(mnemonic);
    }
    settleMenu();
    log("shortcut " + name);
    simulateKeyChord(unitHandle(kButton), shortcut);
    settleMenu();
}

// Chooses the checked Recent once with the mouse and logs its mark as shown and as property 1.
void chooseCheckedItemOnce() {
    using namespace platform::testing;
    log("once recent");
    clickMenuBarEntry(windowHandle(), 0);
    clickOpenMenuEntry(1);
    settleMenu();
    bool shown = false;
    for (const ShownMenuEntry& entry : shownMenu(windowHandle()))
        shown = shown || (entry.text.rfind("&Recent", 0) == 0 && entry.checked);
    log(std::string("recent shown ") + (shown ? "checked" : "unchecked") + " property " +
        std::to_string(rt().ReadUnitProperty(kWindowId, kRecentItem, 1, -1).low));
}

// Keys as Qt delivers them (modifier first, Qt's shortcut map offered each press): a unit's
// mnemonic before the bar's, key events that refuse keys before the bar's mnemonics but after the
// shortcuts, and no key at all while a busy period runs.
void keysTheRuntimeDecides() {
    using namespace platform::testing;
    const platform::WindowHandle window = windowHandle();
    const auto press = [](const std::string& what, uint32_t keys) {
        log(what);
        simulateKeyChord(windowHandle(), keys);
        pump();
        settleMenu();
    };
    // Qt's shortcut map acts for the active window only: make sure this one is.
    platform::setActiveWindow(window);
    pump();
    press("shared mnemonic T", platform::kShortcutAlt | 'T');
    g_refuseKeys = true;
    press("refused M", platform::kShortcutAlt | 'M');
    press("refused F", platform::kShortcutAlt | 'F');
    press("refused shortcut", kShortcutControl | 'O');
    g_refuseKeys = false;

    log("busy");
    {
        platform::BusyPeriod busy;
        simulateKeyChord(window, platform::kShortcutAlt | 'F');
        busy.keepAlive();
        log(std::string("busy menu ") + (menuIsOpen() ? "open" : "closed"));
        clickMenuBarEntry(window, 0);
        log(std::string("busy click ") + (menuIsOpen() ? "open" : "closed"));
        simulateKeyChord(window, kShortcutControl | 'O');
        simulateKeyChord(window, kVkF5);
        busy.keepAlive();
    }
    settleMenu();
    log("busy over");
}

// The window's sound, looping since the window was made, after writes of the play mode and of
// the sound; the second sound (2 kHz, once) is let play to its end.
void soundsOfTheWindow() {
    auto* form =
        dynamic_cast<ui::FormWindow*>(ui::loadedWindowObject(*ui::windowTable().find(kWindowId)));
    const auto logPlaying = [form](const std::string& what) {
        log(what + (form->soundPlaying() ? " playing" : " silent"));
    };
    const auto writeSound = [](const std::vector<uint8_t>& bytes) {
        void* block = runtime::MakeBinary(bytes.data(), int32_t(bytes.size()));
        runtime::PropertyValue value;
        value.setAddress(block);
        rt().WriteUnitProperty(kWindowId, ui::kWindowOwnRecordId, 13, -1, value.low, value.high);
        rt().MemFree(block);
    };
    const auto writeMode = [](uint32_t mode) {
        rt().WriteUnitProperty(kWindowId, ui::kWindowOwnRecordId, 14, -1, mode, 0);
    };
    if (const char* file = std::getenv("SDL_DISKAUDIOFILE"))
        platform::testing::waitForAudio(file, 400); // the loop has come round twice
    logPlaying("sound");
    writeMode(2);
    logPlaying("mode 2");
    writeMode(1);
    logPlaying("mode 1");
    writeSound({});
    logPlaying("no sound");
    writeMode(0);
    writeSound(platform::testing::waveFile(platform::testing::tone(2000, 100)));
    logPlaying("second sound");
    for (int i = 0; i < 200 && form->soundPlaying(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    logPlaying("second sound once:");
}

std::string hex(std::optional<platform::Colour> colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%06x", colour ? *colour : 0xFFFFFFFFu);
    return colour ? text : "none";
}

// Pixels at known spots of the window's and the units' renderings, 0xBBGGRR.
void logPictures() {
    const platform::WindowHandle window = windowHandle();
    log("window " + hex(platform::windowPixel(window, {0, 0})) + " " +
        hex(platform::windowPixel(window, {1, 0})) + " " +
        hex(platform::windowPixel(window, {0, 1})) + " " +
        hex(platform::windowPixel(window, {3, 3})) + " " +
        hex(platform::windowPixel(window, {100, 150})));
    const platform::WindowHandle label = unitHandle(kLabel);
    log("label " + hex(platform::windowPixel(label, {1, 1})) + " " +
        hex(platform::windowPixel(label, {20, 20})));
    for (const auto& [name, id, colour] :
         {std::tuple{"button", kButton, 0xFF00FFu}, std::tuple{"radio", kRadio, 0xFFFF00u}}) {
        const platform::Rect r = platform::clientRect(unitHandle(id));
        int count = 0;
        for (int x = r.left; x < r.right; ++x)
            count += platform::windowPixel(unitHandle(id), {x, (r.top + r.bottom) / 2}) == colour;
        log(std::string(name) + " picture pixels in the middle row " + std::to_string(count));
    }
}

void drive(intptr_t) {
    static bool started = false;
    if (started)
        return;
    started = true;
    pump();
    const platform::WindowHandle window = windowHandle();
    platform::recordDesktopOpens(true);

    logBar();
    chooseCheckedItemOnce();
    chooseThreeWays("open", 0, 'O', kShortcutControl | 'O');
    chooseThreeWays("recent", 1, 'R', kShortcutControl | 'R');
    chooseThreeWays("print", 3, 'P', kShortcutControl | 'P');
    chooseThreeWays("secret", 4, 'S', kShortcutControl | kShortcutShift | 'S');
    chooseThreeWays("mark", -1, 'M', kVkF5);
    logBar();
    chooseThreeWays("open", 0, 'L', kShortcutControl | 'O');
    chooseThreeWays("print", 3, 'P', kShortcutControl | 'P');
    chooseThreeWays("secret", 4, 'S', kShortcutControl | kShortcutShift | 'S');
    soundsOfTheWindow();
    keysTheRuntimeDecides();

    logPictures();
    // The pictured button is still a button.
    const platform::Rect face = platform::clientRect(unitHandle(kButton));
    const platform::Point middle{(face.left + face.right) / 2, (face.top + face.bottom) / 2};
    platform::testing::simulateMousePress(unitHandle(kButton), middle);
    platform::testing::simulateMouseRelease(unitHandle(kButton), middle);
    pump();

    log("help");
    platform::testing::simulateKey(window, platform::kVkF1, "");
    pump();
    platform::testing::simulateKey(unitHandle(kButton), platform::kVkF1, "");
    pump();
    for (const std::string& path : platform::recordedDesktopOpens())
        log("desktop opened " + path);
    platform::recordDesktopOpens(false);

    const platform::Rect before = platform::windowRect(window);
    platform::testing::simulateUserMove(window, {before.left + 80, before.top + 60});
    pump();
    const platform::Rect after = platform::windowRect(window);
    log("movable " + std::to_string(platform::isWindowMovable(window)) + " moved by " +
        std::to_string(after.left - before.left) + "," + std::to_string(after.top - before.top));

    if (const char* grab = std::getenv("KELVARN_TEST_GRAB"))
        log(std::string("grab ") + (platform::grabWindowToPng(window, grab) ? "ok" : "failed"));
    platform::testing::simulateCloseButton(window);
    pump();
}

// ---- The program image ----

bool (*g_loadStartupWindow)(uint32_t) = nullptr;

bool loadStartupWindowAndDrive(uint32_t windowId) {
    const bool loaded = g_loadStartupWindow(windowId);
    if (loaded)
        runtime::addIdleCallback(windowHandle(), &drive, 0);
    return loaded;
}

void installLibraries() {
    ui::installWindowRuntime();
    runtime::WindowRuntimeLink link = runtime::windowRuntimeLink();
    g_loadStartupWindow = link.loadStartupWindow;
    link.loadStartupWindow = &loadStartupWindowAndDrive;
    runtime::setWindowRuntimeLink(link);
}

runtime::LibraryRecord makeCore() {
    runtime::LibraryRecord core;
    core.dataTypeCount = ui::kCoreDataTypeCount;
    core.dataTypes = ui::coreDataTypes().data();
    return core;
}
const runtime::LibraryRecord g_core = makeCore();
const runtime::LibraryRecord* const g_libraries[] = {&g_core};

runtime::ProgramHeader makeHeader() {
    runtime::ProgramHeader header;
    header.buildKind = 3;
    header.highestIdentifier = 0x00010069;
    header.codeStart = kCodeBase;
    header.formTemplate = templateBytes().data();
    header.formTemplateLength = static_cast<int32_t>(templateBytes().size());
    header.libraryCount = 1;
    header.libraries = g_libraries;
    return header;
}
const runtime::ProgramHeader g_header = makeHeader();

const runtime::CodeEntry g_code[] = {
    {kOnOpen, &onItem},   {kOnRecent, &onItem}, {kOnPrint, &onItem},
    {kOnSecret, &onItem}, {kOnMark, &onMark},   {kOnButton, &onItem},
    {kOnTools, &onItem},  {kOnTune, &onItem},   {kOnKeyDown, &onKeyDown}};

const runtime::ProgramRegistration g_registration({&g_header, &entryProcedure, g_code,
                                                   &installLibraries});

} // namespace
