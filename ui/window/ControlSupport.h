#pragma once
// What the control types share: creating the native control as a clip-siblings child with the
// loader's style, and the five border styles of edit boxes, list boxes and labels.

#include "platform/windowing/Types.h"
#include "ui/window/WindowObject.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kelvarn::ui {

struct ControlPlacement {
    platform::WindowHandle parent = 0;
    uint32_t controlId = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Creates the control and hands the object its native window; null when either fails (the
// half-made control is destroyed).
WindowObject* createControl(std::unique_ptr<WindowObject> object, const char* className,
                            uint32_t style, uint32_t exStyle, const std::string& text,
                            const ControlPlacement& place);

// Registers, unless it is already, a window class whose windows paint their own background and
// take double clicks (the window type's classes and the label's); false when registration fails.
bool ensureSelfPaintedClass(const std::string& name);

// Border styles 0 to 5: none, sunken client edge, dialog frame, static edge, client edge with
// dialog frame, plain border; applied to the live window.
void applyBorderStyle(platform::WindowHandle window, int32_t borderStyle);
// The style and extended style bits of a border style, for creating a control with its border.
void borderStyleBits(int32_t borderStyle, uint32_t& style, uint32_t& exStyle);

// A type-side byte block: (address, length) copied out; empty for a null address.
std::vector<uint8_t> blockBytes(const TypeValue& value);
std::string textOf(const TypeValue& value);

} // namespace kelvarn::ui
