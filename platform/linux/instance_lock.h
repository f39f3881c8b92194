// One running game per user: a lock on a file in a folder only that user can write. The lock
// belongs to the open file, so it disappears with the process however the process ends.
#pragma once

#include <string>

namespace platform::sdl {

enum class LockResult {
    Taken, // this process holds the lock now
    HeldByAnother,
    Unavailable, // no safe place for the lock: the game runs without one
};

// The folder for the lock: $XDG_RUNTIME_DIR when it is a private folder of this user, otherwise
// a private folder under /tmp named after the user, created when missing. Empty when neither is
// safe (a folder of that name that belongs to someone else, is a link or is open to others).
std::string LockFolder();

// Takes the lock file `name` in `folder` and keeps it open for the life of the process (the
// descriptor is not inherited by programs the game starts).
LockResult TakeInstanceLock(const std::string& folder, const std::string& name = "vexaro.lock");

// True when `path` is a real folder (not a link) owned by this user that no one else may enter.
bool IsPrivateFolder(const std::string& path);

} // namespace platform::sdl
