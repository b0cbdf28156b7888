#include "platform/files/FileMapping.h"

#include "platform/files/Path.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#include <utility>

namespace kelvarn::platform {

FileMapping::FileMapping(FileMapping&& other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_size(std::exchange(other.m_size, 0)),
      m_fd(std::exchange(other.m_fd, -1)), m_nativePath(std::move(other.m_nativePath)) {}

FileMapping& FileMapping::operator=(FileMapping&& other) noexcept {
    if (this != &other) {
        close();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_fd = std::exchange(other.m_fd, -1);
        m_nativePath = std::move(other.m_nativePath);
    }
    return *this;
}

FileMapping::~FileMapping() {
    close();
}

FileMapping::Status FileMapping::create(std::string_view path, size_t size) {
    close();
    if (size == 0)
        return Status::Failed;
    std::string native = toNativePath(path);
    // O_EXCL with O_CREAT never opens an existing file and never follows a link at the name.
    int fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EEXIST ? Status::NameTaken : Status::Failed;
    // Reserve the blocks now: a sparse file on a full disk would only fail later, when a page
    // of the mapping is first written, and that failure is a fatal signal, not an error value.
    int r = posix_fallocate(fd, 0, static_cast<off_t>(size));
    if (r == EOPNOTSUPP || r == EINVAL)
        r = ftruncate(fd, static_cast<off_t>(size)) == 0 ? 0 : errno;
    void* data = MAP_FAILED;
    if (r == 0)
        data = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        ::close(fd);
        ::unlink(native.c_str());
        return Status::Failed;
    }
    m_data = data;
    m_size = size;
    m_fd = fd;
    m_nativePath = std::move(native);
    return Status::Ok;
}

void FileMapping::flush(size_t offset, size_t length) {
    if (!m_data || offset >= m_size)
        return;
    if (length == 0 || length > m_size - offset)
        length = m_size - offset;
    // msync wants a page-aligned start.
    size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    size_t start = offset / page * page;
    msync(static_cast<char*>(m_data) + start, length + (offset - start), MS_ASYNC);
}

void FileMapping::close() {
    if (m_data)
        munmap(m_data, m_size);
    if (m_fd >= 0)
        ::close(m_fd);
    m_data = nullptr;
    m_size = 0;
    m_fd = -1;
}

void FileMapping::closeAndRemove() {
    std::string path = std::move(m_nativePath);
    bool created = m_fd >= 0;
    close();
    if (created && !path.empty())
        ::unlink(path.c_str());
    m_nativePath.clear();
}

} // namespace kelvarn::platform
