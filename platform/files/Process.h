#pragma once
// Process-level services: the program's own path, current folder, heap, exit, time, threads.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kelvarn::platform {

// Called once where a program starts: a write beyond the file-size limit then fails with an
// error the writer sees (EFBIG) instead of ending the process with SIGXFSZ.
void prepareProcess();

// Full native path of the running program (/proc/self/exe), as a runtime text.
std::string programPath();
std::string currentDirectory();
bool setCurrentDirectory(std::string_view path);

[[noreturn]] void exitProcess(int code);
// Milliseconds since an arbitrary start, wrapping at 2^32 like the Windows tick count.
uint32_t tickCount();
uint64_t currentThreadId();

// The process heap: blocks are not zero-filled; a failed request returns null.
void* heapAlloc(size_t size);
void* heapRealloc(void* block, size_t size);
void heapFree(void* block);

} // namespace kelvarn::platform
