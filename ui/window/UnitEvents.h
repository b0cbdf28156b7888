#pragma once
// The events the control types raise of their own, by type (the window's events are in
// FormWindow.h, the common events -1 to -12 in EventRecord.h).

#include <cstdint>

namespace kelvarn::ui {

enum ButtonEvent : int32_t { kButtonClicked = 0 };

enum RadioBoxEvent : int32_t { kRadioBoxClicked = 0 };

// The window's keyboard handling clicks any push-button or radio-type unit by its event 0.
constexpr int32_t kUnitClicked = 0;
static_assert(kButtonClicked == kUnitClicked && kRadioBoxClicked == kUnitClicked);

enum EditBoxEvent : int32_t {
    kEditBoxContentChanged = 0,
    kEditBoxAdjusted = 1, // an adjuster arrow pressed while the adjuster is 2
};

enum ListBoxEvent : int32_t {
    kListBoxSelectionChanged = 0,
    kListBoxDoubleClicked = 1,
};

} // namespace kelvarn::ui
