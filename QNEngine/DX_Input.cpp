#include "DX_Input.h"

#include <cstring>

#include "DX_D3DWrapper.h"
#include "QNMemory.h"

CDX_Input* CDX_Input::s_instance = nullptr;

CDX_Input::CDX_Input() : m_pDI(nullptr), m_pKeyboard(nullptr), m_pMouse(nullptr), m_pJoystick(nullptr) {
    std::memset(m_keyState, 0, sizeof m_keyState);
    std::memset(m_prevKeyState, 0, sizeof m_prevKeyState);
    std::memset(&m_mouseState, 0, sizeof m_mouseState);
    std::memset(&m_prevMouseState, 0, sizeof m_prevMouseState);
}

CDX_Input::~CDX_Input() {}

CDX_Input* CDX_Input::getInstance() {
    if (!s_instance) {
        setOwner(__FILE__, __LINE__, "??");
        s_instance = new CDX_Input;
    }
    return s_instance;
}

void CDX_Input::destroyInstance() {
    if (!s_instance) return;
    CDX_Input* in = s_instance;
    if (in->m_pKeyboard) {
        in->m_pKeyboard->Unacquire();
        in->m_pKeyboard->Release();
        in->m_pKeyboard = nullptr;
    }
    if (in->m_pMouse) {
        in->m_pMouse->Unacquire();
        in->m_pMouse->Release();
        in->m_pMouse = nullptr;
    }
    if (in->m_pJoystick) {
        in->m_pJoystick->Unacquire();
        in->m_pJoystick->Release();
        in->m_pJoystick = nullptr;
    }
    if (in->m_pDI) {
        in->m_pDI->Release();
        in->m_pDI = nullptr;
    }
    setOwner(__FILE__, __LINE__, "??");
    delete s_instance;
    s_instance = nullptr;
}

QNRESULT CDX_Input::initialize() {
    m_pDI = nullptr;
    m_pKeyboard = nullptr;
    m_pMouse = nullptr;
    m_pJoystick = nullptr;
    std::memset(m_keyState, 0, sizeof m_keyState);
    std::memcpy(m_prevKeyState, m_keyState, sizeof m_keyState);
    std::memset(&m_mouseState, 0, sizeof m_mouseState);
    std::memset(&m_prevMouseState, 0, sizeof m_prevMouseState);

    if (FAILED(DirectInput8Create(GetModuleHandleA(nullptr), 0x0800, IID_IDirectInput8A,
                                  reinterpret_cast<void**>(&m_pDI), nullptr))) {
        m_pDI = nullptr;
        return logResult(QNRSLT_D3DFAILED, "CDX_Input::initialize( )",
                         "Could not initialize DirectInput", 0);
    }
    const DWORD flags = DISCL_NONEXCLUSIVE | DISCL_FOREGROUND;
    if (_createAndAquire(GUID_SysKeyboard, &m_pKeyboard, &c_dfDIKeyboard, flags) > QNRSLT_OK)
        logResult(QNRSLT_D3DFAILED, "CDX_Input::initialize( )", "Could not acquire keyboard", 0);
    if (_createAndAquire(GUID_SysMouse, &m_pMouse, &c_dfDIMouse, flags) > QNRSLT_OK)
        logResult(QNRSLT_D3DFAILED, "CDX_Input::initialize( )", "Could not acquire mouse", 0);
    // A controller is optional and nothing is reported about it: without the
    // device the game plays without one. Acquiring may fail until the window
    // has the focus; each read tries again.
    if (SUCCEEDED(m_pDI->CreateDevice(GUID_Joystick, &m_pJoystick, nullptr))) {
        if (FAILED(m_pJoystick->SetDataFormat(&c_dfDIJoystick)) ||
            FAILED(m_pJoystick->SetCooperativeLevel(CDX_D3DWrapper::getInstance()->getWindowHandle(), flags))) {
            m_pJoystick->Release();
            m_pJoystick = nullptr;
        } else {
            m_pJoystick->Acquire();
        }
    } else {
        m_pJoystick = nullptr;
    }
    ShowCursor(FALSE);
    return QNRSLT_OK;
}

QNRESULT CDX_Input::_createAndAquire(REFGUID guid, LPDIRECTINPUTDEVICE8* device,
                                     LPCDIDATAFORMAT format, DWORD flags) {
    // A device that failed before is released before its slot is refilled.
    if (*device) {
        (*device)->Unacquire();
        (*device)->Release();
        *device = nullptr;
    }
    if (FAILED(m_pDI->CreateDevice(guid, device, nullptr))) {
        *device = nullptr;
        return logResult(QNRSLT_D3DFAILED, "CDX_Input::_createAndAquire( )", nullptr, 0);
    }
    if (FAILED((*device)->SetDataFormat(format)) ||
        FAILED((*device)->SetCooperativeLevel(CDX_D3DWrapper::getInstance()->getWindowHandle(), flags)) ||
        FAILED((*device)->Acquire()))
        return logResult(QNRSLT_D3DFAILED, "CDX_Input::_createAndAquire( )", nullptr, 0);
    return QNRSLT_OK;
}

void CDX_Input::update() { _updateDeviceStates(); }

void CDX_Input::_updateDeviceStates() {
    if (m_pKeyboard) {
        std::memcpy(m_prevKeyState, m_keyState, sizeof m_keyState);
        if (FAILED(m_pKeyboard->GetDeviceState(sizeof m_keyState, m_keyState))) {
            // The keyboard is lost while the window is in the background; it
            // is taken back once the window has the focus again, and counts
            // as all keys up until then.
            std::memset(m_keyState, 0, sizeof m_keyState);
            if (SUCCEEDED(m_pKeyboard->Acquire()))
                m_pKeyboard->GetDeviceState(sizeof m_keyState, m_keyState);
        }
    }
    _mergeGamePad();
    if (m_pMouse) {
        std::memcpy(&m_prevMouseState, &m_mouseState, sizeof m_mouseState);
        if (FAILED(m_pMouse->GetDeviceState(sizeof m_mouseState, &m_mouseState))) {
            logResult(QNRSLT_D3DFAILED, "CDX_Input::_updateDeviceStates( )",
                      "Lost mouse: reacquiring now", 0);
            if (_createAndAquire(GUID_SysMouse, &m_pMouse, &c_dfDIMouse,
                                 DISCL_NONEXCLUSIVE | DISCL_FOREGROUND) > QNRSLT_OK)
                logResult(QNRSLT_D3DFAILED, "CDX_Input::_updateDeviceStates( )",
                          "Could not acquire mouse", 0);
        }
    }
}

void CDX_Input::_mergeGamePad() {
    if (!m_pJoystick) return;
    DIJOYSTATE pad;
    if (FAILED(m_pJoystick->GetDeviceState(sizeof pad, &pad))) {
        // Lost with the focus, like the keyboard: taken back when it returns.
        if (FAILED(m_pJoystick->Acquire()) || FAILED(m_pJoystick->GetDeviceState(sizeof pad, &pad))) return;
    }
    const LONG kStickReach = 500;  // half way out
    const DWORD pov = pad.rgdwPOV[0];
    const bool centred = (pov & 0xFFFF) == 0xFFFF;
    const bool up = (!centred && (pov >= 31500 || pov <= 4500)) || pad.lY < -kStickReach;
    const bool down = (!centred && pov >= 13500 && pov <= 22500) || pad.lY > kStickReach;
    const bool left = (!centred && pov >= 22500 && pov <= 31500) || pad.lX < -kStickReach;
    const bool right = (!centred && pov >= 4500 && pov <= 13500) || pad.lX > kStickReach;
    const struct {
        bool down;
        int key;
    } keys[] = {
        {up, DIK_UP},
        {down, DIK_DOWN},
        {left, DIK_LEFT},
        {right, DIK_RIGHT},
        {(pad.rgbButtons[ZV_PAD_A] & 0x80) != 0, DIK_RETURN},
        {(pad.rgbButtons[ZV_PAD_START] & 0x80) != 0, DIK_RETURN},
        {(pad.rgbButtons[ZV_PAD_B] & 0x80) != 0, DIK_ESCAPE},
        {(pad.rgbButtons[ZV_PAD_X] & 0x80) != 0, DIK_BACK},
        {(pad.rgbButtons[ZV_PAD_Y] & 0x80) != 0, DIK_H},
        {(pad.rgbButtons[ZV_PAD_BACK] & 0x80) != 0, DIK_R},
    };
    for (const auto& key : keys)
        if (key.down) m_keyState[key.key] |= 0x80;
}

bool CDX_Input::isKeyPressed(int key) {
    if (key < 0 || key > 255) return false;
    if (!(m_keyState[key] & 0x80)) return false;
    if (!(m_prevKeyState[key] & 0x80)) {
        m_repeatDelay.reset();
        return true;
    }
    if (m_repeatDelay.getElapsed() <= 1.0) return false;
    if (m_repeatInterval.getElapsed() <= 0.1) return false;
    m_repeatInterval.reset();
    return true;
}

bool CDX_Input::isKeyDown(int key) const { return key >= 0 && key <= 255 && (m_keyState[key] & 0x80); }

bool CDX_Input::isMouseButtonPressed(int button) {
    if (button < 0 || button > 3) return false;
    return (m_mouseState.rgbButtons[button] & 0x80) && !(m_prevMouseState.rgbButtons[button] & 0x80);
}
