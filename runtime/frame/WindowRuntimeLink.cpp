#include "runtime/frame/WindowRuntimeLink.h"

namespace kelvarn::runtime {
namespace {

WindowRuntimeLink& installedLink() {
    static WindowRuntimeLink link;
    return link;
}

} // namespace

void setWindowRuntimeLink(const WindowRuntimeLink& link) {
    installedLink() = link;
}

const WindowRuntimeLink& windowRuntimeLink() {
    return installedLink();
}

} // namespace kelvarn::runtime
