// Hooks for tests only: a virtual game controller that SDL sees as a real
// one, plugged in and out while the game runs. The game never calls them.
#ifndef ZV_PLATFORM_CONTROLLERTESTING_H
#define ZV_PLATFORM_CONTROLLERTESTING_H

namespace zvtest {

// Plugs in one virtual controller (a second call does nothing); false when
// SDL cannot make one.
bool plugController();
// Unplugs it, as pulling the cable would.
void unplugController();
// Holds or releases a button, by SDL_GameControllerButton number (A is 0,
// the D-pad 11 to 14).
void setControllerButton(int button, bool down);
// Moves an axis, by SDL_GameControllerAxis number, -32768 to 32767.
void setControllerAxis(int axis, int value);

}  // namespace zvtest

#endif
