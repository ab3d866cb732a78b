#include "media/filereader.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int64_t readFully(int fd, int64_t offset, unsigned char* target, size_t length)
{
    size_t done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd, target + done, length - done, offset + done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        done += size_t(got);
    }
    return int64_t(done);
}

} // namespace

FileReader::FileReader(const QString& path)
{
    const QByteArray local = QFile::encodeName(path);
    if (local.isEmpty() || local.contains('\0'))
        return;
    m_fd = ::open(local.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (m_fd < 0)
        return;
    struct stat info{};
    if (::fstat(m_fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    m_size = info.st_size;
}

FileReader::~FileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

int64_t FileReader::read(int64_t offset, void* target, size_t length)
{
    if (m_fd < 0 || offset < 0)
        return -1;
    auto* out = static_cast<unsigned char*>(target);
    if (length > kBlock)
        return readFully(m_fd, offset, out, length);
    const bool cached = m_blockOffset >= 0 && offset >= m_blockOffset &&
                        offset + int64_t(length) <= m_blockOffset + int64_t(m_blockLength);
    if (!cached) {
        const int64_t got = readFully(m_fd, offset, m_block, kBlock);
        if (got < 0) {
            m_blockOffset = -1;
            return -1;
        }
        m_blockOffset = offset;
        m_blockLength = size_t(got);
    }
    const int64_t available = m_blockOffset + int64_t(m_blockLength) - offset;
    const size_t count = size_t(std::min<int64_t>(int64_t(length), std::max<int64_t>(available, 0)));
    std::memcpy(out, m_block + (offset - m_blockOffset), count);
    return int64_t(count);
}
