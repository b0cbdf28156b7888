#include "LifeFixture.h"

#include "platform/windowing/Messages.h"
#include "runtime/core/RuntimeServices.h"
#include "ui/window/WindowObject.h"

#include <span>

namespace kelvarn::ui::test {
namespace {

constexpr uint32_t kDialogId = 0x52010002;
constexpr uint32_t kCloseSelf = 0x10;

int g_created = 0;

// The dialog closes itself as soon as it exists; its loop then ends.
runtime::ProcedureResult closeSelf(std::span<const uint32_t>) {
    ++g_created;
    WindowObject* dialog = loadedWindowObject(*windowTable().find(kDialogId));
    platform::postMessage(dialog->handle(), platform::kWmClose, 0, 0);
    return runtime::ProcedureResult::nothing();
}

const runtime::CodeEntry kProcedures[] = {{kCloseSelf, &closeSelf}};

using ModalWindowTest = LifeTest;

TEST_F(ModalWindowTest, ModalLoadReturnsOnlyAfterTheModalWindowIsClosed) {
    g_created = 0;
    runtime::installCodeArea(kCodeBase, kProcedures);
    readTemplate(
        templateOf(kWindowId, {{kWindowOwnRecordId, unit(runtime::kTagWindow, 0, 0, 300, 200)}}));
    readTemplate(templateOf(kDialogId, {{kWindowOwnRecordId, unit(runtime::kTagWindow, 20, 20, 200,
                                                                  120, {{0, kCloseSelf}})}}));
    ASSERT_TRUE(loadWindow(kWindowId));

    LoadWindowRequest request{kDialogId, nullptr, 1};
    EXPECT_EQ(runtime::RuntimeService(kServiceLoadWindow, reinterpret_cast<intptr_t>(&request), 0),
              0);
    EXPECT_EQ(g_created, 1);
    EXPECT_EQ(loadedWindowObject(*windowTable().find(kDialogId)), nullptr)
        << "the load returned after the dialog was gone";
    EXPECT_NE(loadedWindowObject(*windowTable().find(kWindowId)), nullptr);
    EXPECT_EQ(runtime::modalWindow(), 0u);
    platform::Message m;
    EXPECT_FALSE(platform::peekMessage(m, false) && m.message == platform::kWmQuit)
        << "a modal loop posts no quit message";
}

} // namespace
} // namespace kelvarn::ui::test
