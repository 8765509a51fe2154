#include "GamePad.h"

#include <SDL.h>

#include <cstring>

namespace zvdinput {

namespace {

SDL_GameController* s_pad = nullptr;
int s_users = 0;

LONG scaledAxis(Sint16 value) {
    const long scaled = static_cast<long>(value) * 1000 / 32767;
    return static_cast<LONG>(scaled < -1000 ? -1000 : scaled);
}

// The D-pad as a point of view: hundredths of a degree clockwise from up.
DWORD dpadAngle(bool up, bool right, bool down, bool left) {
    if (up && !down) return right && !left ? 4500 : (left && !right ? 31500 : 0);
    if (down && !up) return right && !left ? 13500 : (left && !right ? 22500 : 18000);
    if (right && !left) return 9000;
    if (left && !right) return 27000;
    return 0xFFFFFFFFu;
}

}  // namespace

bool startGamePads() {
    // The device itself reads only while the game window has the focus, by
    // the window layer's account; SDL's own focus check would only differ
    // from it (a window SDL does not see as focused would never get a pad).
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
    ++s_users;
    return true;
}

void stopGamePads() {
    if (s_users == 0) return;
    if (--s_users == 0 && s_pad) {
        SDL_GameControllerClose(s_pad);
        s_pad = nullptr;
    }
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

bool readGamePad(DIJOYSTATE* state) {
    std::memset(state, 0, sizeof *state);
    for (DWORD& pov : state->rgdwPOV) pov = 0xFFFFFFFFu;
    if (s_users == 0) return false;
    SDL_GameControllerUpdate();
    if (s_pad && !SDL_GameControllerGetAttached(s_pad)) {
        SDL_GameControllerClose(s_pad);
        s_pad = nullptr;
    }
    for (int i = 0; !s_pad && i < SDL_NumJoysticks(); ++i)
        if (SDL_IsGameController(i)) s_pad = SDL_GameControllerOpen(i);
    if (!s_pad) return false;

    state->lX = scaledAxis(SDL_GameControllerGetAxis(s_pad, SDL_CONTROLLER_AXIS_LEFTX));
    state->lY = scaledAxis(SDL_GameControllerGetAxis(s_pad, SDL_CONTROLLER_AXIS_LEFTY));
    state->lZ = scaledAxis(SDL_GameControllerGetAxis(s_pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT));
    state->lRx = scaledAxis(SDL_GameControllerGetAxis(s_pad, SDL_CONTROLLER_AXIS_RIGHTX));
    state->lRy = scaledAxis(SDL_GameControllerGetAxis(s_pad, SDL_CONTROLLER_AXIS_RIGHTY));
    state->lRz = scaledAxis(SDL_GameControllerGetAxis(s_pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT));
    // SDL's buttons A .. right shoulder are in the order of the ZV_PAD_* numbers.
    for (int b = SDL_CONTROLLER_BUTTON_A; b <= SDL_CONTROLLER_BUTTON_RIGHTSHOULDER; ++b)
        state->rgbButtons[b] =
            SDL_GameControllerGetButton(s_pad, static_cast<SDL_GameControllerButton>(b)) ? 0x80 : 0;
    state->rgdwPOV[0] = dpadAngle(SDL_GameControllerGetButton(s_pad, SDL_CONTROLLER_BUTTON_DPAD_UP),
                                  SDL_GameControllerGetButton(s_pad, SDL_CONTROLLER_BUTTON_DPAD_RIGHT),
                                  SDL_GameControllerGetButton(s_pad, SDL_CONTROLLER_BUTTON_DPAD_DOWN),
                                  SDL_GameControllerGetButton(s_pad, SDL_CONTROLLER_BUTTON_DPAD_LEFT));
    return true;
}

}  // namespace zvdinput
