// The process's start: the runtime's application object is constructed during static
// initialisation, and main hands over to the framework's start-up. The program links this
// file's library and registers its image (ProgramImage.h).

#include "runtime/frame/AppFramework.h"
#include "runtime/frame/ProgramImage.h"
#include "runtime/frame/RuntimeApplication.h"

namespace {

kelvarn::runtime::RuntimeApplication theApplication;

} // namespace

int main() {
    if (auto install = kelvarn::runtime::registeredProgram().installLibraries)
        install();
    return kelvarn::runtime::FrameworkMain();
}
