// build/kelvarn. The process start (main, and the runtime's application object) comes with the
// runtime; the program hands it its image during static initialisation.

#include "app/ConverterProgram.h"

namespace {

const kelvarn::runtime::ProgramRegistration g_registration(kelvarn::app::converterProgramImage());

} // namespace
