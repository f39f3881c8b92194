// The file calls on Windows: the UTF-8 path becomes UTF-16 and goes to the wide calls, so a game
// unpacked into a folder named in any language finds its files. The statuses are those of the
// POSIX reader.
#include "platform/file_read.h"
#include "platform/windows/wide.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <windows.h>

namespace platform {

namespace {

// Closes the handle on every way out.
struct OpenFile {
    HANDLE handle;
    ~OpenFile() {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};

constexpr std::size_t kChunk = 64 * 1024;

bool NotThere(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH ||
           error == ERROR_INVALID_DRIVE || error == ERROR_DIRECTORY;
}

template <class Bytes>
DiskRead ReadInto(const std::string& path, std::size_t limit, Bytes& bytes) {
    bytes.clear();
    const auto wide = windows::Widen(path);
    if (!wide || wide->empty()) return DiskRead::Missing;
    const DWORD attributes = GetFileAttributesW(wide->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return NotThere(GetLastError()) ? DiskRead::Missing : DiskRead::NoAccess;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return DiskRead::NotAFile;
    // Others may go on reading, writing or deleting it: the game only takes a copy.
    const OpenFile file{CreateFileW(wide->c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    if (file.handle == INVALID_HANDLE_VALUE)
        return NotThere(GetLastError()) ? DiskRead::Missing : DiskRead::NoAccess;
    // A device (CON, a pipe, a serial port) is nothing the game reads.
    if (GetFileType(file.handle) != FILE_TYPE_DISK) return DiskRead::NotAFile;
    // Grown chunk by chunk: the size the file claims may be wrong by the time it is read.
    const std::size_t wanted = limit == SIZE_MAX ? limit : limit + 1;
    std::size_t got = 0;
    while (got < wanted) {
        bytes.resize(std::min(wanted, got + kChunk));
        DWORD n = 0;
        if (!ReadFile(file.handle, bytes.data() + got, DWORD(bytes.size() - got), &n, nullptr)) {
            bytes.clear();
            return DiskRead::Failed;
        }
        if (n == 0) break;
        got += n;
    }
    bytes.resize(got);
    return DiskRead::Read;
}

} // namespace

std::optional<std::uint64_t> PlainFileSize(const std::string& path) {
    const auto wide = windows::Widen(path);
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!wide || wide->empty() ||
        !GetFileAttributesExW(wide->c_str(), GetFileExInfoStandard, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return (std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

DiskRead ReadFileBytes(const std::string& path, std::size_t limit,
                       std::vector<std::uint8_t>& bytes) {
    return ReadInto(path, limit, bytes);
}

DiskRead ReadFileBytes(const std::string& path, std::size_t limit, std::string& bytes) {
    return ReadInto(path, limit, bytes);
}

std::FILE* OpenForWriting(const std::string& path, const char* mode) {
    const auto wide = windows::Widen(path);
    const auto wideMode = windows::Widen(mode);
    if (!wide || wide->empty() || !wideMode) {
        errno = ENOENT;
        return nullptr;
    }
    return _wfopen(wide->c_str(), wideMode->c_str());
}

} // namespace platform
