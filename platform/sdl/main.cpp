// The real game's entry.
#include "core/main.h"
#include "platform/backend.h"
#include "platform/sdl/backend_sdl.h"

int main(int, char**) {
    platform::sdl::Start();
    Main();
    platform::RunMessageLoop();
}
