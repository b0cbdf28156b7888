#include "platform/files/UnnamedFile.h"

#include "platform/files/Path.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace kelvarn::platform {

namespace {

std::atomic<bool> g_offered{true};

} // namespace

void offerUnnamedFiles(bool offered) {
    g_offered.store(offered);
}

int openUnnamedFile(const std::string& folder, int flags, unsigned mode, bool& unsupported) {
    unsupported = !g_offered.load();
    if (unsupported)
        return -1;
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_CLOEXEC | flags, mode);
    // A file system without unnamed files refuses the flag in one of these ways; a kernel that
    // predates it sees a folder opened for writing.
    unsupported = fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL);
    return fd;
}

UnnamedFile::Status UnnamedFile::create(std::string_view folder) {
    close();
    const std::string native = folder.empty() ? std::string(".") : toNativePath(folder);
    bool unsupported = false;
    const int fd = openUnnamedFile(native, O_WRONLY, 0666, unsupported);
    if (fd < 0)
        return unsupported ? Status::Unsupported : Status::Failed;
    m_fd = fd;
    m_path = "/proc/self/fd/" + std::to_string(fd);
    // Writers open the file again by that path; without /proc they could not.
    if (::access(m_path.c_str(), W_OK) != 0) {
        close();
        return Status::Unsupported;
    }
    return Status::Ok;
}

bool UnnamedFile::link(std::string_view path, bool& nameTaken) {
    nameTaken = false;
    if (m_fd < 0)
        return false;
    const std::string native = toNativePath(path);
    // Through /proc (checked by create) no privilege is needed; linking the descriptor itself
    // (AT_EMPTY_PATH) would need one.
    if (::linkat(AT_FDCWD, m_path.c_str(), AT_FDCWD, native.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    nameTaken = errno == EEXIST;
    return false;
}

void UnnamedFile::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_path.clear();
}

} // namespace kelvarn::platform
