#include "runtime/frame/ProgramImage.h"

namespace kelvarn::runtime {
namespace {

ProgramImage& image() {
    static ProgramImage registered;
    return registered;
}

} // namespace

void registerProgram(const ProgramImage& program) {
    image() = program;
    installCodeArea(program.header ? program.header->codeStart : 0, program.code);
}

const ProgramImage& registeredProgram() {
    return image();
}

} // namespace kelvarn::runtime
