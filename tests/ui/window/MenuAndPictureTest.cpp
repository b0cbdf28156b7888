#include "LifeFixture.h"

#include "platform/files/Process.h"
#include "platform/windowing/Desktop.h"
#include "platform/windowing/Menu.h"
#include "platform/windowing/Messages.h"
#include "platform/windowing/TestHooks.h"
#include "platform/windowing/testing/InputSimulation.h"
#include "platform/windowing/testing/MenuSimulation.h"
#include "platform/windowing/testing/PictureFiles.h"
#include "runtime/core/Heap.h"
#include "ui/template/ButtonProperties.h"
#include "ui/template/LabelProperties.h"
#include "ui/template/RadioBoxProperties.h"
#include "ui/template/WindowProperties.h"
#include "ui/window/UnitPropertyAccess.h"
#include "ui/window/WindowObject.h"

#include <filesystem>
#include <fstream>

namespace kelvarn::testing {
using namespace kelvarn::ui;
namespace {

using platform::testing::pictureFile;
using platform::testing::shownMenu;

constexpr uint32_t kFile = 0x26010001, kOpen = 0x26010002, kRecent = 0x26010003, kHelp = 0x26010004;
constexpr uint32_t kLabel = 0x16010002, kButton = 0x16010003, kRadio = 0x16010004;
constexpr uint32_t kOpenProc = 0x10, kRecentProc = 0x20, kHelpProc = 0x30, kClickProc = 0x40;

std::vector<uint32_t> g_sources; // the event source of every call
template <uint32_t Offset> runtime::ProcedureResult note(std::span<const uint32_t>) {
    uint32_t source[2] = {};
    runtime::RuntimeService(runtime::kServiceCurrentEventSource, reinterpret_cast<intptr_t>(source),
                            0);
    g_sources.push_back(source[1]);
    return {};
}
const runtime::CodeEntry kProcedures[] = {{kOpenProc, &note<kOpenProc>},
                                          {kRecentProc, &note<kRecentProc>},
                                          {kHelpProc, &note<kHelpProc>},
                                          {kClickProc, &note<kClickProc>}};

UnitRecordEntry menuItem(uint32_t id, const char* caption, uint32_t procedure, uint32_t flags,
                         MenuItemTail tail) {
    MenuItemRecord m;
    m.typeTag = kTagMenuItem;
    m.caption = caption;
    m.flags = flags;
    m.procedure = procedure;
    m.rest = encodeMenuItemTail(tail);
    return {id, encodeMenuItemRecord(m)};
}

// 2 x 2: red, green / blue, black.
std::vector<uint8_t> quad() {
    return pictureFile("PNG", 2, 2, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFF000000});
}
constexpr platform::Colour kRed = 0x0000FF, kBlack = 0, kGreen = 0x00FF00, kGrey = 0x808080;

class MenuAndPictureTest : public LifeTest {
protected:
    void SetUp() override {
        LifeTest::SetUp();
        g_sources.clear();
        runtime::installCodeArea(kCodeBase, kProcedures);
    }

    void load(WindowProperties window) {
        window.backgroundColour = kGrey;
        LabelProperties label;
        label.backgroundPicture = quad();
        label.pictureMode = 1; // tiled
        ButtonProperties button;
        button.picture = pictureFile("PNG", 8, 8, std::vector<uint32_t>(64, 0xFF0000FF));
        UnitRecord own = unit(runtime::kTagWindow, 10, 10, 300, 200);
        own.propertyBlock = window.write();
        UnitRecord labelRecord = unit(runtime::kTagLabel, 100, 10, 20, 20);
        labelRecord.propertyBlock = label.write();
        UnitRecord buttonRecord = unit(runtime::kTagButton, 100, 50, 60, 40, {{0, kClickProc}});
        buttonRecord.propertyBlock = button.write();
        RadioBoxProperties radio;
        radio.picture = button.picture;
        UnitRecord radioRecord = unit(runtime::kTagRadioBox, 100, 100, 80, 30);
        radioRecord.propertyBlock = radio.write();
        WindowDescription d;
        d.id = kWindowId;
        d.records = {
            {kWindowOwnRecordId, encodeUnitRecord(own)},
            menuItem(kFile, "&File", kUnboundProcedure, 0, {0, 0}),
            menuItem(kOpen, "&Open", kOpenProc, 0, {1, platform::kShortcutControl | 'O'}),
            menuItem(kRecent, "&Recent", kRecentProc, 4, {1, 0}),
            menuItem(kHelp, "&Help", kHelpProc, 0, {0, platform::kVkF1 + 1}),
            {kLabel, encodeUnitRecord(labelRecord)},
            {kButton, encodeUnitRecord(buttonRecord)},
            {kRadio, encodeUnitRecord(radioRecord)},
        };
        readTemplate(writeFormTemplate({d}));
        ASSERT_TRUE(loadWindow());
        pump();
        m_window = loadedWindowObject(*windowTable().find(kWindowId))->handle();
    }

    platform::WindowHandle unitHandle(uint32_t id) {
        WindowRecord& r = *windowTable().find(kWindowId);
        return loadedUnitObject(r, *r.units.findById(id))->handle();
    }

    void write(uint32_t id, int32_t property, uint32_t low, uint32_t high = 0) {
        WriteUnitProperty(kWindowId, id, property, -1, low, high);
        pump();
    }

    platform::WindowHandle m_window = 0;
};

TEST_F(MenuAndPictureTest, MenuItemRecordsBuildTheBarAndRunTheirProceduresWhenChosen) {
    load({});
    const auto shown = shownMenu(m_window);
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[1].text, "&Open\tCtrl+O");
    EXPECT_EQ(shown[1].depth, 1);
    EXPECT_TRUE(shown[2].checked);
    EXPECT_EQ(shown[3].text, "&Help");

    using namespace platform::testing;
    clickMenuBarEntry(m_window, 0);
    clickOpenMenuEntry(1);
    pump();
    simulateKeyChord(unitHandle(kButton), platform::kShortcutControl | 'O');
    pump();
    simulateKey(m_window, 'H', "h", true, true);
    pump();
    simulateKeyChord(m_window, platform::kVkF1 + 1);
    pump();
    EXPECT_EQ(g_sources, (std::vector<uint32_t>{kRecent, kOpen, kHelp, kHelp}));

    // A unit's caption mnemonic comes before the bar's.
    const std::string help = "&Help";
    write(kButton, propertyIndex(ButtonProperty::Caption),
          static_cast<uint32_t>(reinterpret_cast<uintptr_t>(help.c_str())),
          static_cast<uint32_t>(reinterpret_cast<uintptr_t>(help.c_str()) >> 32));
    g_sources.clear();
    simulateKey(m_window, 'H', "h", true, true);
    pump();
    EXPECT_EQ(g_sources, std::vector<uint32_t>{kButton});

    // Properties 0 to 3 read from and write to the record, and the bar follows.
    const std::string caption = "&Load";
    write(kOpen, 0, static_cast<uint32_t>(reinterpret_cast<uintptr_t>(caption.c_str())),
          static_cast<uint32_t>(reinterpret_cast<uintptr_t>(caption.c_str()) >> 32));
    write(kRecent, 1, 0);
    write(kHelp, 3, 0);
    write(kOpen, 2, 1);
    EXPECT_EQ(ReadUnitProperty(kWindowId, kRecent, 1, -1).low, 0u);
    EXPECT_EQ(ReadUnitProperty(kWindowId, kHelp, 3, -1).low, 0u);
    EXPECT_EQ(ReadUnitProperty(kWindowId, kOpen, 2, -1).low, 1u);
    // A text read belongs to the caller.
    void* read = ReadUnitProperty(kWindowId, kOpen, 0, -1).address();
    EXPECT_EQ(static_cast<const char*>(read), caption);
    runtime::MemFree(read);
    const auto rebuilt = shownMenu(m_window);
    ASSERT_EQ(rebuilt.size(), 3u);
    EXPECT_EQ(rebuilt[1].text, "&Load\tCtrl+O");
    EXPECT_FALSE(rebuilt[1].enabled);
    EXPECT_FALSE(rebuilt[2].checked);
    g_sources.clear();
    simulateKeyChord(m_window, platform::kShortcutControl | 'O');
    simulateKeyChord(m_window, platform::kVkF1 + 1);
    pump();
    EXPECT_TRUE(g_sources.empty());

    platform::destroyWindow(m_window);
    pump();
    EXPECT_FALSE(platform::hasWindowMenu(m_window));
}

TEST_F(MenuAndPictureTest, PicturesOfTheWindowLabelAndButtonAreDrawnFromTheirBytes) {
    WindowProperties window;
    window.backgroundPicture = quad();
    window.pictureMode = 0; // top-left
    load(window);
    using platform::windowPixel;
    EXPECT_EQ(windowPixel(m_window, {0, 0}), kRed);
    EXPECT_EQ(windowPixel(m_window, {1, 1}), kBlack);
    EXPECT_EQ(windowPixel(m_window, {5, 5}), kGrey);
    const platform::WindowHandle label = unitHandle(kLabel);
    EXPECT_EQ(windowPixel(label, {2, 2}), kRed);
    EXPECT_EQ(windowPixel(label, {19, 18}), kGreen);
    EXPECT_EQ(windowPixel(unitHandle(kButton), {30, 20}), kRed);
    int red = 0;
    for (int x = 0; x < 80; ++x)
        red += windowPixel(unitHandle(kRadio), {x, 15}) == kRed;
    EXPECT_EQ(red, 8);

    // Writing other bytes replaces what is drawn; the mode write moves it.
    std::vector<uint8_t> block = {1, 0, 0, 0, 0, 0, 0, 0};
    const auto green = pictureFile("GIF", 2, 2, std::vector<uint32_t>(4, 0xFF00FF00));
    platform::storeLe32(block.data() + 4, static_cast<uint32_t>(green.size()));
    block.insert(block.end(), green.begin(), green.end());
    const auto address = reinterpret_cast<uintptr_t>(block.data());
    write(kLabel, propertyIndex(LabelProperty::BackgroundPicture), uint32_t(address),
          uint32_t(address >> 32));
    EXPECT_EQ(windowPixel(label, {2, 2}), kGreen);
    write(kWindowOwnRecordId, propertyIndex(WindowProperty::PictureMode), 2);
    EXPECT_EQ(windowPixel(m_window, {0, 0}), kGrey);
}

TEST_F(MenuAndPictureTest, F1OpensTheHelpFileAndAWindowThatIsNotMovableStaysPut) {
    const std::string named =
        (std::filesystem::temp_directory_path() / "kelvarn-help.hlp").string();
    std::string ownName = platform::programPath();
    ownName = ownName.substr(0, ownName.rfind('.') > ownName.rfind('/') ? ownName.rfind('.')
                                                                        : ownName.size()) +
              ".hlp";
    std::ofstream(named) << "help";
    std::ofstream(ownName) << "help";
    platform::recordDesktopOpens(true);

    WindowProperties window;
    window.f1OpensHelp = 1;
    window.helpFileName = named;
    window.movable = 0;
    load(window);
    EXPECT_FALSE(platform::isWindowMovable(m_window));
    platform::testing::simulateKey(unitHandle(kButton), platform::kVkF1, "");
    pump();
    const std::string empty;
    write(kWindowOwnRecordId, propertyIndex(WindowProperty::HelpFileName),
          static_cast<uint32_t>(reinterpret_cast<uintptr_t>(empty.c_str())),
          static_cast<uint32_t>(reinterpret_cast<uintptr_t>(empty.c_str()) >> 32));
    platform::testing::simulateKey(m_window, platform::kVkF1, "");
    pump();
    EXPECT_EQ(platform::recordedDesktopOpens(), (std::vector<std::string>{named, ownName}));

    const platform::Rect before = platform::windowRect(m_window);
    platform::testing::simulateUserMove(m_window, {before.left + 80, before.top + 60});
    pump();
    EXPECT_EQ(platform::windowRect(m_window).left, before.left);
    write(kWindowOwnRecordId, propertyIndex(WindowProperty::Movable), 1);
    EXPECT_TRUE(platform::isWindowMovable(m_window));

    platform::recordDesktopOpens(false);
    std::filesystem::remove(named);
    std::filesystem::remove(ownName);
}

} // namespace
} // namespace kelvarn::testing
