#pragma once
// Alignment styles of buttons and radio boxes.

#include "platform/windowing/Styles.h"
#include "ui/window/WindowObject.h"

#include <cstdint>

namespace kelvarn::ui {

constexpr uint32_t kButtonAlignmentStyles = platform::kBsCenter | platform::kBsVCenter;

constexpr uint32_t buttonAlignmentStyle(int32_t horizontal, int32_t vertical) {
    constexpr uint32_t kHorizontal[] = {platform::kBsLeft, platform::kBsCenter, platform::kBsRight};
    constexpr uint32_t kVertical[] = {platform::kBsTop, platform::kBsVCenter, platform::kBsBottom};
    return kHorizontal[clampChoice(horizontal, 2)] | kVertical[clampChoice(vertical, 2)];
}

} // namespace kelvarn::ui
