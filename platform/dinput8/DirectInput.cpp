// DirectInput 8 over the input state the Win32 message pump keeps.
#include <dinput.h>

#include <cstring>

#include "GamePad.h"
#include "win32/Win32Window.h"

const DIDATAFORMAT c_dfDIKeyboard = {sizeof(DIDATAFORMAT), 256};
const DIDATAFORMAT c_dfDIMouse = {sizeof(DIDATAFORMAT), sizeof(DIMOUSESTATE)};
const DIDATAFORMAT c_dfDIJoystick = {sizeof(DIDATAFORMAT), sizeof(DIJOYSTATE)};

const GUID GUID_SysKeyboard = {0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_SysMouse = {0x6F1D2B60, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const GUID GUID_Joystick = {0x6F1D2B70, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
const IID IID_IDirectInput8A = {0xBF798030, 0x483A, 0x4DA2, {0xAA, 0x99, 0x5D, 0x64, 0xED, 0x36, 0x97, 0x00}};

namespace {

bool sameGuid(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }

enum class Kind { Keyboard, Mouse, Joystick };

class Device final : public IDirectInputDevice8A {
public:
    explicit Device(Kind kind) : m_kind(kind) {
        if (kind == Kind::Joystick) m_padsStarted = zvdinput::startGamePads();
    }

    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override {
        ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

    HRESULT SetDataFormat(LPCDIDATAFORMAT format) override {
        if (m_acquired) return DIERR_INVALIDPARAM;  // DIERR_ACQUIRED on Windows
        const DIDATAFORMAT* expected = m_kind == Kind::Keyboard ? &c_dfDIKeyboard
                                       : m_kind == Kind::Mouse  ? &c_dfDIMouse
                                                                : &c_dfDIJoystick;
        if (format != expected) return DIERR_INVALIDPARAM;
        m_formatSet = true;
        return DI_OK;
    }

    HRESULT SetCooperativeLevel(HWND hWnd, DWORD flags) override {
        // Background and exclusive access are not offered: the window system
        // owns the devices.
        if (!zvwin32::sdlWindow(hWnd)) return DIERR_INVALIDPARAM;
        if ((flags & (DISCL_FOREGROUND | DISCL_NONEXCLUSIVE)) !=
            (DISCL_FOREGROUND | DISCL_NONEXCLUSIVE))
            return E_NOTIMPL;
        m_window = hWnd;
        return DI_OK;
    }

    HRESULT Acquire() override {
        if (!m_formatSet || !m_window) return DIERR_INVALIDPARAM;
        if (GetFocus() != m_window) return DIERR_OTHERAPPHASPRIO;
        if (m_acquired) return S_FALSE;
        m_acquired = true;
        m_focusLosses = zvwin32::focusLosses();
        if (m_kind == Kind::Mouse) {
            // Movement counts from the moment of acquisition.
            zvwin32::InputState& in = zvwin32::inputState();
            in.dx = in.dy = in.dz = 0;
        }
        return DI_OK;
    }

    HRESULT Unacquire() override {
        if (!m_acquired) return S_FALSE;
        m_acquired = false;
        return DI_OK;
    }

    HRESULT GetDeviceState(DWORD size, LPVOID data) override {
        if (!data) return DIERR_INVALIDPARAM;
        if (!m_acquired) return DIERR_NOTACQUIRED;
        // A focus loss since the acquisition unacquired the device, even when
        // the window has the focus back by now.
        if (GetFocus() != m_window || zvwin32::focusLosses() != m_focusLosses) {
            m_acquired = false;
            return DIERR_INPUTLOST;
        }
        zvwin32::InputState& in = zvwin32::inputState();
        if (m_kind == Kind::Joystick) {
            if (size != sizeof(DIJOYSTATE)) return DIERR_INVALIDPARAM;
            zvdinput::readGamePad(static_cast<DIJOYSTATE*>(data));
        } else if (m_kind == Kind::Keyboard) {
            if (size != sizeof in.keys) return DIERR_INVALIDPARAM;
            std::memcpy(data, in.keys, sizeof in.keys);
        } else {
            if (size != sizeof(DIMOUSESTATE)) return DIERR_INVALIDPARAM;
            DIMOUSESTATE state;
            state.lX = static_cast<LONG>(in.dx);
            state.lY = static_cast<LONG>(in.dy);
            state.lZ = static_cast<LONG>(in.dz);
            std::memcpy(state.rgbButtons, in.buttons, sizeof state.rgbButtons);
            in.dx = in.dy = in.dz = 0;
            std::memcpy(data, &state, sizeof state);
        }
        return DI_OK;
    }

private:
    ~Device() override {
        if (m_padsStarted) zvdinput::stopGamePads();
    }

    Kind m_kind;
    bool m_padsStarted = false;
    ULONG m_refs = 1;
    bool m_formatSet = false;
    bool m_acquired = false;
    HWND m_window = nullptr;
    unsigned m_focusLosses = 0;
};

class DirectInput final : public IDirectInput8A {
public:
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override {
        ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

    HRESULT CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICE8A* device, LPUNKNOWN outer) override {
        if (!device || outer) return DIERR_INVALIDPARAM;
        *device = nullptr;
        if (sameGuid(guid, GUID_SysKeyboard))
            *device = new Device(Kind::Keyboard);
        else if (sameGuid(guid, GUID_SysMouse))
            *device = new Device(Kind::Mouse);
        else if (sameGuid(guid, GUID_Joystick))
            *device = new Device(Kind::Joystick);
        else
            return DIERR_DEVICENOTREG;
        return DI_OK;
    }

private:
    ~DirectInput() override = default;
    ULONG m_refs = 1;
};

}  // namespace

HRESULT WINAPI DirectInput8Create(HINSTANCE, DWORD version, REFIID iid, LPVOID* out, LPUNKNOWN outer) {
    if (!out) return DIERR_INVALIDPARAM;
    *out = nullptr;
    if (outer) return DIERR_INVALIDPARAM;
    if (version < 0x0800) return DIERR_OLDDIRECTINPUTVERSION;
    if (!sameGuid(iid, IID_IDirectInput8A)) return DIERR_NOINTERFACE;
    *out = static_cast<IDirectInput8A*>(new DirectInput);
    return DI_OK;
}
