#include "testing/ControllerTesting.h"

#include <SDL.h>

namespace zvtest {

namespace {
SDL_Joystick* s_virtual = nullptr;
int s_index = -1;
}  // namespace

bool plugController() {
    if (s_virtual) return true;
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
    s_index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                        SDL_CONTROLLER_BUTTON_MAX, 0);
    if (s_index >= 0) s_virtual = SDL_JoystickOpen(s_index);
    if (!s_virtual) {
        if (s_index >= 0) SDL_JoystickDetachVirtual(s_index);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        return false;
    }
    return true;
}

void unplugController() {
    if (!s_virtual) return;
    // Its device number may have moved since: find it by its instance.
    const SDL_JoystickID id = SDL_JoystickInstanceID(s_virtual);
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    SDL_JoystickClose(s_virtual);
    s_virtual = nullptr;
    s_index = -1;
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void setControllerButton(int button, bool down) {
    if (s_virtual) SDL_JoystickSetVirtualButton(s_virtual, button, down ? 1 : 0);
}

void setControllerAxis(int axis, int value) {
    if (s_virtual) SDL_JoystickSetVirtualAxis(s_virtual, axis, static_cast<Sint16>(value));
}

}  // namespace zvtest
