#pragma once
// The interface functions of the seven unit types: interface(code) answers the address of the
// type's entry for the code, or null.

#include <cstdint>

namespace kelvarn::ui {

void* windowInterface(int32_t code);
void* editBoxInterface(int32_t code);
void* groupBoxInterface(int32_t code);
void* labelInterface(int32_t code);
void* buttonInterface(int32_t code);
void* radioBoxInterface(int32_t code);
void* listBoxInterface(int32_t code);

} // namespace kelvarn::ui
