#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>

// Read-only access to one regular file by absolute offset. Small reads are served from a
// block read ahead of them, so walking a tag's frames costs few system calls. Anything that is
// not a regular file (a folder, a pipe, a device) fails to open, so a reader never blocks.
class FileReader final {
public:
    explicit FileReader(const QString& path);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    int64_t size() const { return m_size; }

    // Copies up to length bytes at offset into target; returns how many were read, or -1 on an
    // error. Fewer than length bytes means the end of the file was reached.
    int64_t read(int64_t offset, void* target, size_t length);

private:
    int m_fd = -1;
    int64_t m_size = 0;
    static constexpr size_t kBlock = 8192;
    unsigned char m_block[kBlock];
    int64_t m_blockOffset = -1;
    size_t m_blockLength = 0;
};
