// The window type beyond the converter's own use: shapes, closing, modal loading, saving.

#include "WindowRuntimeFixture.h"

#include "platform/windowing/Styles.h"
#include "runtime/core/TypeTag.h"
#include "ui/template/FormIds.h"
#include "ui/template/FormTemplateWriter.h"
#include "ui/template/WindowProperties.h"
#include "ui/window/CommonEntries.h"
#include "ui/window/FormWindow.h"
#include "ui/window/GlobalBlock.h"

namespace kelvarn::testing {
using namespace kelvarn::ui;
namespace {

using namespace platform;
using namespace kelvarn::app;

constexpr uint32_t kDialogId = 0x52010002;

// A second window: a small dialog with one button.
std::vector<uint8_t> dialogTemplate() {
    WindowProperties p;
    p.title = "Dialog";
    p.startPosition = 0;
    UnitRecord own;
    own.typeTag = runtime::kTagWindow;
    own.left = 30;
    own.top = 40;
    own.width = 200;
    own.height = 120;
    own.stateFlags = kStateVisible;
    own.propertyBlock = p.write();
    UnitRecord button;
    button.typeTag = runtime::kTagButton;
    button.left = 10;
    button.top = 10;
    button.width = 80;
    button.height = 24;
    button.stateFlags = kStateVisible | kStateTabStop;
    WindowDescription dialog;
    dialog.id = kDialogId;
    dialog.records = {{kWindowOwnRecordId, encodeUnitRecord(own)},
                      {0x16010002, encodeUnitRecord(button)}};
    return writeFormTemplate({dialog});
}

class WindowTypeTest : public WindowRuntimeTest {
protected:
    void SetUp() override {
        WindowRuntimeTest::SetUp();
        m_dialog = dialogTemplate();
        LoadFormTemplate(m_dialog.data(), static_cast<uint32_t>(m_dialog.size()), 0x400000,
                         windowTable());
    }
    WindowRecord& dialog() { return *windowTable().find(kDialogId); }

    std::vector<uint8_t> m_dialog;
};

TEST(WindowShapeRegion, BuiltInShapesFollowTheWindowSize) {
    EXPECT_FALSE(windowShapeRegion(0, 300, 200));
    const Rect all{0, 0, 300, 200};
    auto ellipse = windowShapeRegion(1, 300, 200);
    ASSERT_TRUE(ellipse);
    EXPECT_EQ(*ellipse, Region::ellipse(all));

    // Corner diameter 40: (8,8) lies inside the corner's circle of radius 20, (4,4) outside it.
    auto rounded = windowShapeRegion(2, 300, 200);
    ASSERT_TRUE(rounded);
    EXPECT_EQ(rounded->boundingRect(), all);
    EXPECT_TRUE(rounded->contains({8, 8}));
    EXPECT_FALSE(rounded->contains({4, 4}));
    EXPECT_FALSE(rounded->contains({295, 195}));

    // The ring: the ellipse minus the ellipse inset by a quarter on each side.
    auto ring = windowShapeRegion(3, 300, 200);
    ASSERT_TRUE(ring);
    EXPECT_EQ(*ring, Region::ellipse(all).subtract(Region::ellipse({75, 50, 225, 150})));
    EXPECT_FALSE(ring->contains({150, 100}));
    EXPECT_TRUE(ring->contains({150, 20}));

    auto triangle = windowShapeRegion(4, 300, 200);
    ASSERT_TRUE(triangle);
    EXPECT_EQ(*triangle, Region::polygon({{150, 0}, {300, 200}, {0, 200}}));
}

// The dispatcher's answer to the close events: a returned false for `refused`.
int32_t g_refusedEvent = 0;
intptr_t refuseClose(int32_t code, intptr_t p1, intptr_t p2) {
    recordEvent(code, p1, p2);
    auto* record = reinterpret_cast<SimpleEventRecord*>(p1);
    if (record->event == g_refusedEvent && !runtime::runtimeApp().eventsSuppressed()) {
        record->resultFlag = 1;
        record->result = 0;
    }
    return 1;
}

TEST_F(WindowTypeTest, AReturnedFalseFromEitherCloseEventKeepsTheWindow) {
    runtime::registerRuntimeService(runtime::kServiceRaiseEvent, &refuseClose);
    ASSERT_TRUE(loadConverter());
    for (int32_t refused : {kWindowEventCloseRequested, kWindowEventClose}) {
        g_refusedEvent = refused;
        raisedEvents().clear();
        sendMessage(window()->handle(), kWmClose, 0, 0);
        ASSERT_NE(window(), nullptr) << refused;
        EXPECT_EQ(countEvents(kWindowOwnRecordId, kWindowEventCloseRequested), 1);
        EXPECT_EQ(countEvents(kWindowOwnRecordId, kWindowEventClose),
                  refused == kWindowEventClose ? 1 : 0);
    }
    g_refusedEvent = 0;
    sendMessage(window()->handle(), kWmClose, 0, 0);
    EXPECT_EQ(window(), nullptr);
}

WindowHandle g_modalSeen = 0;
bool g_converterEnabledDuringModal = true;
void closeAtOnce(WindowHandle window) {
    g_modalSeen = window;
    WindowRecord& converter = *windowTable().find(kConverterWindowId);
    g_converterEnabledDuringModal = isWindowEnabled(loadedWindowObject(converter)->handle());
    destroyWindow(window);
}

TEST_F(WindowTypeTest, ModalLoadDisablesTheOtherWindowsUntilItCloses) {
    ASSERT_TRUE(loadConverter());
    setModalLoopRunner(&closeAtOnce);
    g_modalSeen = 0;
    LoadWindowRequest request{kDialogId, nullptr, 1};
    EXPECT_EQ(runtime::RuntimeService(kServiceLoadWindow, reinterpret_cast<intptr_t>(&request), 0),
              0);
    setModalLoopRunner(nullptr);
    EXPECT_NE(g_modalSeen, 0u);
    EXPECT_FALSE(g_converterEnabledDuringModal);
    EXPECT_FALSE(isWindow(g_modalSeen));
    EXPECT_EQ(loadedWindowObject(dialog()), nullptr);
    EXPECT_TRUE(isWindowEnabled(window()->handle()));
    EXPECT_EQ(modalLoopWindow(), 0u);
}

TEST_F(WindowTypeTest, OwnerMustBeALiveWindowAndIsIgnoredForModalLoads) {
    EXPECT_FALSE(LoadWindow(dialog(), 0xFFFFF0, false));
    EXPECT_EQ(loadedWindowObject(dialog()), nullptr);
    ASSERT_TRUE(loadConverter());
    ASSERT_TRUE(LoadWindow(dialog(), window()->handle(), false));
    WindowObject* dialogWindow = loadedWindowObject(dialog());
    ASSERT_NE(dialogWindow, nullptr);
    EXPECT_EQ(parentWindow(dialogWindow->handle()), window()->handle());
    EXPECT_TRUE(windowStyle(dialogWindow->handle()) & kWsPopup);
    // Not centred: start position 0 keeps the stored place.
    EXPECT_EQ(windowRect(dialogWindow->handle()).left, 30);
    EXPECT_EQ(runtime::RuntimeService(runtime::kServiceWindowCount, 0, 0), 2);
}

TEST_F(WindowTypeTest, AltWithACaptionMnemonicPressesTheButton) {
    ASSERT_TRUE(LoadWindow(dialog(), 0, false));
    pump();
    auto* form = dynamic_cast<FormWindow*>(loadedWindowObject(dialog()));
    ASSERT_NE(form, nullptr);
    WindowObject* button = loadedUnitObject(dialog(), 1);
    auto set = typeEntry<SetPropertyEntry>(runtime::kTagButton, kInterfaceSetProperty);
    std::string caption = "&Go";
    TypeValue text{reinterpret_cast<uintptr_t>(caption.c_str()), caption.size()};
    set(button, 2, &text, 0);
    raisedEvents().clear();
    Message alt;
    alt.window = focusWindow();
    alt.message = kWmSysKeyDown;
    alt.wParam = 'X';
    EXPECT_FALSE(form->handleBeforeDispatch(alt));
    alt.wParam = 'G';
    EXPECT_TRUE(form->handleBeforeDispatch(alt));
    pump();
    EXPECT_EQ(countEvents(0x16010002, 0), 1);
}

TEST_F(WindowTypeTest, DragByAnyPointMovesTheWindowFromItsSurfaceAndLabels) {
    ASSERT_TRUE(loadConverter());
    pump();
    auto* form = dynamic_cast<FormWindow*>(window());
    Rect start = windowRect(form->handle());
    auto mouse = [&](WindowHandle target, uint32_t message, Point screen, WParam keys) {
        Message m;
        m.window = target;
        m.message = message;
        m.wParam = keys;
        m.point = screen;
        return form->handleBeforeDispatch(m);
    };
    WindowHandle label = handleOf(kNoticeLabel);
    // Without the property nothing is dragged.
    EXPECT_FALSE(mouse(label, kWmLButtonDown, {500, 500}, kMkLButton));
    auto set = typeEntry<SetPropertyEntry>(runtime::kTagWindow, kInterfaceSetProperty);
    TypeValue on{1, 0};
    set(form, 19, &on, 0);
    EXPECT_FALSE(mouse(handleOf(kToBmpButton), kWmLButtonDown, {500, 500}, kMkLButton));
    EXPECT_TRUE(mouse(label, kWmLButtonDown, {500, 500}, kMkLButton));
    EXPECT_TRUE(mouse(label, kWmMouseMove, {530, 490}, kMkLButton));
    EXPECT_TRUE(mouse(label, kWmLButtonUp, {530, 490}, 0));
    Rect moved = windowRect(form->handle());
    EXPECT_EQ(moved.left, start.left + 30);
    EXPECT_EQ(moved.top, start.top - 10);
    EXPECT_EQ(moved.width(), 487);
    EXPECT_FALSE(mouse(label, kWmMouseMove, {560, 490}, 0));
}

TEST_F(WindowTypeTest, SavedBlocksCarryTheCurrentPropertiesAtTheMaximumVersion) {
    ASSERT_TRUE(loadConverter());
    WindowObject* w = window();
    auto set = typeEntry<SetPropertyEntry>(runtime::kTagWindow, kInterfaceSetProperty);
    TypeValue shape{2, 0};
    set(w, 20, &shape, 0);
    TypeValue onTop{1, 0};
    set(w, 21, &onTop, 0);
    EXPECT_TRUE(windowExStyle(w->handle()) & kWsExTopmost);

    auto save = typeEntry<SavePropertiesEntry>(runtime::kTagWindow, kInterfaceSaveProperties);
    void* block = save(w);
    ASSERT_NE(block, nullptr);
    std::span<const uint8_t> bytes = globalBlockBytes(block);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 6); // the window's maximum version
    WindowProperties saved;
    ASSERT_EQ(saved.read(bytes), BlockStatus::Ok);
    EXPECT_EQ(saved.windowShape, 2);
    EXPECT_EQ(saved.alwaysOnTop, 1);
    EXPECT_EQ(saved.icon.size(), 766u);
    freeGlobalBlock(block);

    // No window property asks for re-creation, and RecreateUnit leaves the window alone.
    WindowHandle before = w->handle();
    RecreateUnit(converter(), 0);
    EXPECT_EQ(window()->handle(), before);
}

} // namespace
} // namespace kelvarn::testing
