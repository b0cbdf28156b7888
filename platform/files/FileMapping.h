#pragma once
// A new file mapped read-write into memory. New memory reads as zero bytes. The file is created
// exclusively (never opened if it exists, never followed through a link) with mode 0600.

#include <cstddef>
#include <string>
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
    ~FileMapping(); // unmaps and closes; the file stays unless removeFile() was called

    // Creates `path` (a runtime text) of `size` bytes and maps it. NameTaken when anything of
    // that name exists already (file, folder or link), so a caller can move to the next name.
    Status create(std::string_view path, size_t size);

    void* data() const { return m_data; }
    size_t size() const { return m_size; }
    bool isOpen() const { return m_data != nullptr; }

    // Starts write-back of [offset, offset + length) without waiting (length 0: to the end).
    void flush(size_t offset = 0, size_t length = 0);
    // Unmaps and closes; the file stays.
    void close();
    // Unmaps, closes and deletes the file this mapping created.
    void closeAndRemove();

private:
    void* m_data = nullptr;
    size_t m_size = 0;
    int m_fd = -1;
    std::string m_nativePath;
};

} // namespace kelvarn::platform
