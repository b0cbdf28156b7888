#include "platform/files/Process.h"

#include "platform/files/Path.h"

#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace kelvarn::platform {

void prepareProcess() {
    std::signal(SIGXFSZ, SIG_IGN);
}

std::string programPath() {
    std::vector<char> buffer(PATH_MAX);
    for (;;) {
        ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0)
            return {};
        if (static_cast<size_t>(n) < buffer.size())
            return fromNativePath(std::string_view(buffer.data(), static_cast<size_t>(n)));
        buffer.resize(buffer.size() * 2);
    }
}

std::string currentDirectory() {
    std::vector<char> buffer(PATH_MAX);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (buffer.size() > (1u << 20))
            return {};
        buffer.resize(buffer.size() * 2);
    }
    return fromNativePath(buffer.data());
}

bool setCurrentDirectory(std::string_view path) {
    return chdir(toNativePath(path).c_str()) == 0;
}

void exitProcess(int code) {
    // Like the Windows process exit: no static destructors of the program run, but what the C
    // streams hold is written out.
    std::fflush(nullptr);
    std::_Exit(code);
}

uint32_t tickCount() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u +
                                 static_cast<uint64_t>(ts.tv_nsec) / 1000000u);
}

uint64_t currentThreadId() {
    return static_cast<uint64_t>(syscall(SYS_gettid));
}

void* heapAlloc(size_t size) {
    return std::malloc(size == 0 ? 1 : size);
}

void* heapRealloc(void* block, size_t size) {
    return std::realloc(block, size == 0 ? 1 : size);
}

void heapFree(void* block) {
    std::free(block);
}

} // namespace kelvarn::platform
