#include "platform/files/Leftovers.h"

#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvarn::platform {

namespace {

struct FolderCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

struct Descriptor {
    explicit Descriptor(int fd) : value(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (value >= 0)
            ::close(value);
    }
    int value;
};

bool namedLike(std::string_view name, std::string_view prefix, std::string_view suffix) {
    return name.size() > prefix.size() + suffix.size() && name.substr(0, prefix.size()) == prefix &&
           name.substr(name.size() - suffix.size()) == suffix;
}

} // namespace

void markInUse(int descriptor) {
    // Shared: a writer never needs to exclude another, only to be seen.
    ::flock(descriptor, LOCK_SH);
}

int removeLeftovers(const std::string& folder, std::string_view prefix, std::string_view suffix) {
    const std::unique_ptr<DIR, FolderCloser> dir(::opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir)
        return 0;
    const int dirFd = ::dirfd(dir.get());
    int removed = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!namedLike(entry->d_name, prefix, suffix))
            continue;
        // O_NONBLOCK: a FIFO someone planted under such a name must not hang the open.
        const Descriptor file(
            ::openat(dirFd, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
        struct stat opened {};
        if (file.value < 0 || ::fstat(file.value, &opened) != 0 || !S_ISREG(opened.st_mode))
            continue;
        if (::flock(file.value, LOCK_EX | LOCK_NB) != 0)
            continue; // a live writer holds it
        // The name must still be the file just judged, not one a writer has put there since.
        struct stat named {};
        if (::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) != 0 ||
            named.st_dev != opened.st_dev || named.st_ino != opened.st_ino)
            continue;
        if (::unlinkat(dirFd, entry->d_name, 0) == 0)
            ++removed;
    }
    return removed;
}

} // namespace kelvarn::platform
