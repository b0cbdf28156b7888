#pragma once
// What a program brings to the runtime: its header (with the library table, constants area and
// form template), its entry procedure and its code area. The program registers its image during
// static initialisation; the application object runs the entry procedure from InitInstance.

#include "runtime/core/Program.h"
#include "runtime/frame/CodeArea.h"

#include <cstdint>
#include <span>

namespace kelvarn::runtime {

// The program's entry procedure: InitializeProgram, its own set-up, the start-up window, the
// message loop. Returns 0 once the loop has ended.
using EntryProcedure = int32_t (*)();

struct ProgramImage {
    const ProgramHeader* header = nullptr;
    EntryProcedure entry = nullptr;
    std::span<const CodeEntry> code; // procedures by offset from header->codeStart
    // Run by the process start before InitInstance: puts the parts of the libraries that the
    // runtime frame calls into (the window runtime) in place.
    void (*installLibraries)() = nullptr;
};

// Keeps the image (which must outlive the process) and installs its code area.
void registerProgram(const ProgramImage& image);
// The registered image; all null before registration.
const ProgramImage& registeredProgram();

// Registers an image from a static object of the program.
struct ProgramRegistration {
    explicit ProgramRegistration(const ProgramImage& image) { registerProgram(image); }
};

} // namespace kelvarn::runtime
