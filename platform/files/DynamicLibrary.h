#pragma once
// Shared libraries loaded at run time for DLL commands.

#include <memory>
#include <string_view>

namespace kelvarn::platform {

class DynamicLibrary {
public:
    // Null when the library cannot be loaded. `path` is a runtime text.
    static std::unique_ptr<DynamicLibrary> load(std::string_view path);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // Null when the library does not export the name.
    void* symbol(const char* name) const;

private:
    explicit DynamicLibrary(void* handle) : m_handle(handle) {}
    void* m_handle;
};

} // namespace kelvarn::platform
