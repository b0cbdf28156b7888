#include "platform/files/DynamicLibrary.h"

#include "platform/files/Path.h"

#include <dlfcn.h>

namespace kelvarn::platform {

std::unique_ptr<DynamicLibrary> DynamicLibrary::load(std::string_view path) {
    void* handle = dlopen(toNativePath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return nullptr;
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary() {
    dlclose(m_handle);
}

void* DynamicLibrary::symbol(const char* name) const {
    return dlsym(m_handle, name);
}

} // namespace kelvarn::platform
