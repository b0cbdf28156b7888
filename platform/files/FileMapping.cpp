#include "platform/files/FileMapping.h"

#include "platform/files/Path.h"
#include "platform/files/UnnamedFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <linux/magic.h>
#include <string>
#include <sys/mman.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <utility>

// Older C library headers lack the constant; kernels before 5.14 answer it with EINVAL.
#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace kelvarn::platform {

namespace {

constexpr size_t kHugePageBytes = size_t{2} << 20;
// At most this much is faulted in when the mapping is made (more than a 40-megapixel photo
// needs); beyond it pages fault as they are written. A decoder that fails early, on a small file
// that announces a huge picture, must not pay for gigabytes it never touches.
constexpr size_t kPopulateBytes = size_t{128} << 20;

// Reserves the blocks now: a sparse file on a full disk would only fail later, when a page of
// the mapping is first written, and that failure is a fatal signal, not an error value. A file
// system that cannot reserve gets a plain size.
bool sizeFile(int fd, size_t size) {
    if (fallocate(fd, 0, 0, static_cast<off_t>(size)) == 0)
        return true;
    if (errno != EOPNOTSUPP && errno != ENOSYS && errno != EINVAL)
        return false;
    return ftruncate(fd, static_cast<off_t>(size)) == 0;
}

bool onTmpfs(int fd) {
    struct statfs fs {};
    return fstatfs(fd, &fs) == 0 && fs.f_type == TMPFS_MAGIC;
}

// Faults the pages in with one call instead of one trap per page on first write. False only
// when a write would have failed fatally (no memory, no block behind a page); a kernel without
// the advice leaves the pages to fault as they are written.
bool populate(void* data, size_t size, bool hugePages) {
    // A tmpfs mounted to allow huge pages then backs the mapping with them; elsewhere the advice
    // changes nothing.
    if (hugePages && size >= kHugePageBytes)
        madvise(data, size, MADV_HUGEPAGE);
    if (madvise(data, std::min(size, kPopulateBytes), MADV_POPULATE_WRITE) == 0)
        return true;
    return errno != EFAULT && errno != ENOMEM;
}

} // namespace

FileMapping::FileMapping(FileMapping&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)) {}

FileMapping& FileMapping::operator=(FileMapping&& other) noexcept {
    if (this != &other) {
        close();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
    }
    return *this;
}

FileMapping::Status FileMapping::create(std::string_view path, size_t size) {
    close();
    if (size == 0)
        return Status::Failed;
    const std::string native = toNativePath(path);
    // Where the folder's file system offers unnamed files the file never has a name, so no
    // moment exists at which a killed process could leave it behind. O_EXCL keeps it from ever
    // being linked in.
    const size_t slash = native.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : native.substr(0, slash + 1);
    bool unsupported = false;
    int fd = openUnnamedFile(folder, O_RDWR | O_EXCL, 0600, unsupported);
    if (fd < 0 && !unsupported)
        return Status::Failed;
    if (fd < 0) {
        // O_EXCL with O_CREAT never opens an existing file and never follows a link at the name.
        fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return errno == EEXIST ? Status::NameTaken : Status::Failed;
        // The name goes at once: from here on only the descriptor and the mapping hold the file.
        if (::unlink(native.c_str()) != 0 && errno != ENOENT) {
            ::close(fd);
            return Status::Failed;
        }
    }
    void* data = MAP_FAILED;
    if (sizeFile(fd, size))
        data = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    const bool hugePages = data != MAP_FAILED && onTmpfs(fd);
    // The mapping keeps the file alive; the descriptor is not needed any more.
    ::close(fd);
    if (data == MAP_FAILED)
        return Status::Failed;
    if (!populate(data, size, hugePages)) {
        munmap(data, size);
        return Status::Failed;
    }
    m_data = data;
    m_size = size;
    return Status::Ok;
}

void FileMapping::flush(size_t offset, size_t length) {
    if (!m_data || offset >= m_size)
        return;
    if (length == 0 || length > m_size - offset)
        length = m_size - offset;
    // msync wants a page-aligned start.
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t start = offset / page * page;
    msync(static_cast<char*>(m_data) + start, length + (offset - start), MS_ASYNC);
}

void FileMapping::close() {
    if (m_data)
        munmap(m_data, m_size);
    m_data = nullptr;
    m_size = 0;
}

} // namespace kelvarn::platform
