#pragma once
// Emits a form template in its stored form from windows whose records are given in the order
// the unit buffer holds them. Procedure words are written as given (code offsets, or
// 0xFFFFFFFF for an unbound event): relocation is the reader's business.

#include "ui/template/UnitBuffer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelvarn::ui {

struct WindowDescription {
    uint32_t id = 0;
    uint32_t valueA = 0;
    uint32_t valueB = 0;
    std::string textA;
    std::string textB;
    std::vector<UnitRecordEntry> records; // entry 0 is the window's own record
};

std::vector<uint8_t> writeFormTemplate(const std::vector<WindowDescription>& windows);

} // namespace kelvarn::ui
