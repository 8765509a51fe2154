// Keyboard, mouse and game controller, read once per frame through
// DirectInput. The controller plays as keys: the D-pad and the left stick
// are the arrow keys, A is Enter, B Escape, X Backspace (undo), Y H (hint),
// Back R (restart) and Start Enter, so every screen that takes keys takes
// the pad too.
#ifndef DX_INPUT_H
#define DX_INPUT_H

#include <dinput.h>

#include "QNResults.h"
#include "QNStopwatch.h"

class CDX_Input {
public:
    static CDX_Input* getInstance();
    static void destroyInstance();

    QNRESULT initialize();
    // Reads both devices; once per frame, before any object is updated.
    void update();
    // True on the frame a key goes down, then, while it is held, after 1.0 s
    // and every 0.1 s (the repeat stopwatches are shared by all keys).
    bool isKeyPressed(int key);
    // True while the key is held.
    bool isKeyDown(int key) const;
    // True only on the frame the button went down.
    bool isMouseButtonPressed(int button);

private:
    CDX_Input();
    ~CDX_Input();

    QNRESULT _createAndAquire(REFGUID guid, LPDIRECTINPUTDEVICE8* device,
                              LPCDIDATAFORMAT format, DWORD flags);
    void _updateDeviceStates();
    // Adds the controller's buttons and directions to m_keyState as keys.
    void _mergeGamePad();

    LPDIRECTINPUT8 m_pDI;
    LPDIRECTINPUTDEVICE8 m_pKeyboard;
    unsigned char m_keyState[256];
    unsigned char m_prevKeyState[256];
    LPDIRECTINPUTDEVICE8 m_pMouse;
    LPDIRECTINPUTDEVICE8 m_pJoystick;  // null when the layer offers none
    DIMOUSESTATE m_mouseState;
    DIMOUSESTATE m_prevMouseState;
    CQNStopwatch m_repeatDelay;
    CQNStopwatch m_repeatInterval;

    static CDX_Input* s_instance;
};

#endif
