#include "platform/linux/opener.h"

#include <SDL_timer.h>

#include <algorithm>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace platform::sdl {

namespace {
std::vector<pid_t> g_unreaped;
}

OpenerOutcome RunOpener(const std::string& program, const std::string& text, void (*whileWaiting)(),
                        int patienceMs) {
    std::string arg0 = program, arg1 = text;
    char* argv[] = {arg0.data(), arg1.data(), nullptr};
    pid_t pid = 0;
    // posix_spawnp reports a program that cannot be executed as an error of its own.
    if (posix_spawnp(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0)
        return OpenerOutcome::Missing;
    const Uint32 start = SDL_GetTicks();
    for (;;) {
        int status = 0;
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            if (WIFEXITED(status) && WEXITSTATUS(status) == 127) return OpenerOutcome::Missing;
            return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? OpenerOutcome::Opened
                                                                 : OpenerOutcome::Refused;
        }
        if (done < 0) return OpenerOutcome::Refused;
        if (int(SDL_GetTicks() - start) >= patienceMs) {
            g_unreaped.push_back(pid);
            return OpenerOutcome::Opened;
        }
        if (whileWaiting)
            whileWaiting();
        else
            SDL_Delay(1);
    }
}

void ReapOpeners() {
    std::erase_if(g_unreaped, [](pid_t pid) { return waitpid(pid, nullptr, WNOHANG) != 0; });
}

int ShellResult(OpenerOutcome outcome) {
    return outcome == OpenerOutcome::Opened ? 42 : 2;
}

} // namespace platform::sdl
