#pragma once
// One window of the program as read from the form template. The unit buffer is the live store
// of its units' design-time state; the snapshot is the copy taken when the window is loaded.

#include "ui/template/UnitBuffer.h"

#include <cstdint>
#include <string>

namespace kelvarn::ui {

struct WindowRecord {
    uint32_t id = 0;
    // Carried with the record and kept when it is copied; no behaviour of their own.
    uint32_t valueA = 0;
    uint32_t valueB = 0;
    std::string textA;
    std::string textB;
    UnitBuffer units;
    UnitBuffer snapshot;
};

} // namespace kelvarn::ui
