#include "platform/linux/instance_lock.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::sdl {

bool IsPrivateFolder(const std::string& path) {
    struct stat st {};
    if (path.empty() || lstat(path.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

std::string LockFolder() {
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/')
        if (IsPrivateFolder(runtime)) return runtime;
    const std::string folder = "/tmp/vexaro-" + std::to_string(geteuid());
    // mkdir never follows a link; an existing entry is then checked for what it is.
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return "";
    return IsPrivateFolder(folder) ? folder : "";
}

LockResult TakeInstanceLock(const std::string& folder, const std::string& name) {
    if (!IsPrivateFolder(folder)) return LockResult::Unavailable;
    const std::string path = folder + "/" + name;
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return LockResult::Unavailable;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != geteuid()) {
        close(fd);
        return LockResult::Unavailable;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) return LockResult::Taken; // fd stays open on purpose
    const int why = errno;
    close(fd);
    return why == EWOULDBLOCK ? LockResult::HeldByAnother : LockResult::Unavailable;
}

} // namespace platform::sdl
