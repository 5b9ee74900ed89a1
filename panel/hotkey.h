#pragma once
// The system-wide hotkey: the first of F1, F2, F3 and Alt+Z that Windows
// grants. A press reaches the program as WM_LABEL_FEEDBACK sent to 标签1,
// whose feedback event runs the toggle.
#include <cstdint>

#include "panel/toggle.h"
#include "text/text.h"

using WindowRef = uintptr_t;
using WindowProcRef = uintptr_t;

constexpr uint32_t kWmHotkey = 0x0312;
constexpr uint32_t kWmLabelFeedback = 0x8075;
constexpr int32_t kHotkeyIdBase = 33000;

// Windows' modifier flags for RegisterHotKey.
constexpr uint32_t kModAlt = 0x0001;
constexpr uint32_t kModControl = 0x0002;
constexpr uint32_t kModShift = 0x0004;

constexpr uint32_t kHotkeyBoxType = 0x2010;  // MB_OK | MB_ICONERROR | MB_TASKMODAL
constexpr int32_t kHotkeyFailedExitCode = 1;

struct HotkeyPort {
    virtual ~HotkeyPort() = default;
    virtual WindowRef MainWindowHandle() = 0;
    virtual WindowRef Label1Handle() = 0;
    virtual bool RegisterHotKey(WindowRef window, int32_t id, uint32_t modifiers, uint32_t vk) = 0;
    // Puts the hotkey window procedure on the window; gives the one it replaced.
    virtual WindowProcRef InstallHotkeyWindowProc(WindowRef window) = 0;
    virtual intptr_t CallProcedure(WindowProcRef proc, WindowRef window, uint32_t message, uintptr_t wParam,
                                    intptr_t lParam) = 0;
    virtual intptr_t SendToWindow(WindowRef window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
    virtual void ShowMessageBox(Text text, Text title, uint32_t type) = 0;
};

struct HotkeyRow {
    int32_t modifierCode;  // 1 Ctrl, 2 Shift, 4 Alt, added up
    uint32_t vk;
    Text displayName;
};
extern const HotkeyRow kHotkeyTable[4];

struct HotkeyRegistry {
    WindowRef notifyWindow = 0;
    int32_t attemptCount = 0;
    int32_t lastIdentifier = 0;
    WindowProcRef previousWindowProc = 0;
};
extern HotkeyRegistry hotkeyRegistry;

uint32_t ModifierFlags(int32_t modifierCode);

// The identifier when Windows grants the key, 0 when it refuses it. Every
// attempt uses up an identifier.
int32_t RegisterLabelHotkey(HotkeyPort& port, WindowRef mainWindow, WindowRef notifyWindow, int32_t modifierCode,
                            uint32_t vk);

intptr_t HotkeyWindowProc(HotkeyPort& port, WindowRef window, uint32_t message, uintptr_t wParam, intptr_t lParam);

// MainWindow's created event: claims a key and writes the stopped caption,
// or shows the failure box and ends the program.
void OnWindowCreated(HotkeyPort& hotkeys, TogglePort& panel);

void OnHotkeyFeedback(TogglePort& panel, intptr_t wParam, intptr_t lParam);
