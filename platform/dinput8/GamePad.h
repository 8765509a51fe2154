// The game controller behind the DirectInput joystick device: the first
// connected SDL game controller, found again whenever it was unplugged.
#ifndef ZV_DINPUT8_GAMEPAD_H
#define ZV_DINPUT8_GAMEPAD_H

#include <dinput.h>

namespace zvdinput {

// Starts SDL's game controller part (counted: one stop per start).
bool startGamePads();
void stopGamePads();
// The pad's state now, or a centred state with no button down (false)
// when no game controller is connected.
bool readGamePad(DIJOYSTATE* state);

}  // namespace zvdinput

#endif
