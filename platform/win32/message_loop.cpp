// The message loop. Key presses for MainWindow are screened first: Esc
// closes the window, Tab and Shift+Tab walk the tab order.
#include "panel/keyboard.h"
#include "win32_window.h"

namespace {

bool BelongsToMainWindow(HWND window) {
    return window && (window == mainWindow.main || IsChild(mainWindow.main, window));
}

std::optional<ControlId> ControlOf(HWND window) {
    for (int i = 0; i < kControlCount; ++i) {
        HWND control = mainWindow.controls[i];
        if (control && (window == control || IsChild(control, window))) return static_cast<ControlId>(i);
    }
    return std::nullopt;
}

bool CanTakeFocus(ControlId id) {
    HWND control = ControlWindow(id);
    return control && IsWindowVisible(control) && IsWindowEnabled(control) &&
           (GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP);
}

bool Held(int vk) { return GetKeyState(vk) < 0; }

// True when the key was dealt with here and goes no further.
bool ScreenKeyMessage(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    if (!BelongsToMainWindow(msg.hwnd)) return false;
    HWND focus = GetFocus();
    std::optional<ControlId> focused = ControlOf(focus);
    KeyPress key{static_cast<uint32_t>(msg.wParam), Held(VK_SHIFT), Held(VK_CONTROL),
                 msg.message == WM_SYSKEYDOWN || Held(VK_MENU), focused == ControlId::超级编辑框1};
    KeyAction action = ScreenKey(key);
    switch (action) {
        case KeyAction::Close:
            SendMessageA(mainWindow.main, WM_CLOSE, 0, 0);
            return true;
        case KeyAction::FocusNext:
        case KeyAction::FocusPrevious: {
            bool backward = action == KeyAction::FocusPrevious;
            if (auto next = NextTabStop(focused, backward, CanTakeFocus)) SetFocus(ControlWindow(*next));
            return true;
        }
        case KeyAction::PassOn:
            break;
    }
    return false;
}

}  // namespace

void RunMessageLoop() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (ScreenKeyMessage(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}
