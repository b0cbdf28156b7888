#pragma once
// The converter as the runtime sees it: the program header (build kind, highest identifier,
// code area base, constants area, form template, the table of the three libraries it was built
// against), the entry procedure and the code area with its procedures by offset.

#include "runtime/frame/ProgramImage.h"

#include <cstdint>

namespace kelvarn::app {

// Base number of the code area; a relocated event binding holds it plus the offset.
constexpr uint32_t kConverterCodeBase = 0x00401000;

const runtime::ProgramHeader& converterProgramHeader();
const runtime::ProgramImage& converterProgramImage();

// Puts in place the parts of the libraries that the runtime frame calls into before any
// procedure runs: the window runtime and the file search helpers.
void installConverterLibraries();

} // namespace kelvarn::app
