#include "platform/file_read.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Closes the file on every way out.
struct OpenFile {
    int fd;
    ~OpenFile() {
        if (fd >= 0) close(fd);
    }
};

constexpr std::size_t kChunk = 64 * 1024;

template <class Bytes>
DiskRead ReadInto(const std::string& path, std::size_t limit, Bytes& bytes) {
    bytes.clear();
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return DiskRead::Missing;
    if (!S_ISREG(info.st_mode)) return DiskRead::NotAFile;
    const OpenFile file{open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) return DiskRead::NoAccess;
    // Grown chunk by chunk: the size the file claims may be wrong (files of /proc say 0).
    const std::size_t wanted = limit == SIZE_MAX ? limit : limit + 1;
    std::size_t got = 0;
    while (got < wanted) {
        bytes.resize(std::min(wanted, got + kChunk));
        const ssize_t n = read(file.fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            bytes.clear();
            return DiskRead::Failed;
        }
        if (n == 0) break;
        got += std::size_t(n);
    }
    bytes.resize(got);
    return DiskRead::Read;
}

} // namespace

std::optional<std::uint64_t> PlainFileSize(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return std::uint64_t(info.st_size);
}

DiskRead ReadFileBytes(const std::string& path, std::size_t limit,
                       std::vector<std::uint8_t>& bytes) {
    return ReadInto(path, limit, bytes);
}

DiskRead ReadFileBytes(const std::string& path, std::size_t limit, std::string& bytes) {
    return ReadInto(path, limit, bytes);
}

std::FILE* OpenForWriting(const std::string& path, const char* mode) {
    return std::fopen(path.c_str(), mode);
}

} // namespace platform
