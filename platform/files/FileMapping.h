#pragma once
// Memory backed by a file that has no name. Where the folder's file system offers unnamed files
// (see UnnamedFile.h) the file is made without one; elsewhere it is created exclusively (never
// opened if anything of that name exists, never followed through a link) and its name is
// removed as soon as it is open. Mode 0600 either way: the kernel frees the file with the
// mapping, however the process ends. The whole mapping is faulted in when it is made, so writing it costs no page fault per
// page; new memory reads as zero bytes.

#include <cstddef>
#include <string_view>

namespace kelvarn::platform {

class FileMapping {
public:
    enum class Status { Ok, NameTaken, Failed };

    FileMapping() = default;
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;
    FileMapping(FileMapping&& other) noexcept;
    FileMapping& operator=(FileMapping&& other) noexcept;
    ~FileMapping() { close(); }

    // Creates an unnamed file in `path`'s folder, or else `path` (a runtime text) whose name is
    // removed again, and maps `size` bytes of it. NameTaken when `path` is needed and anything
    // of that name exists already (file, folder or link), so a caller
    // can move to the next name. Whatever the result, nothing of this call's making remains at
    // `path`.
    Status create(std::string_view path, size_t size);

    void* data() const { return m_data; }
    size_t size() const { return m_size; }
    bool isOpen() const { return m_data != nullptr; }

    // Starts write-back of [offset, offset + length) without waiting (length 0: to the end).
    void flush(size_t offset = 0, size_t length = 0);
    // Unmaps; the kernel frees the file.
    void close();

private:
    void* m_data = nullptr;
    size_t m_size = 0;
};

} // namespace kelvarn::platform
