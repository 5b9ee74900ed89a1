// The operations the send cycle, the toggle, the hotkey and the link label
// work through, carried out on MainWindow's controls.
#include <windows.h>
#include <shellapi.h>

#include "engine/line_buffer.h"
#include "panel/events.h"
#include "text/text_heap.h"
#include "win32_window.h"

bool PutTextOnClipboard(Text message);  // clipboard.cpp
LRESULT CALLBACK HotkeyWindowTrampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

namespace {

// A new text with the window's caption or content; no text when empty.
Text ReadWindowText(HWND window) {
    int length = GetWindowTextLengthA(window);
    if (length <= 0) return nullptr;
    char* text = AllocateTextBytes(static_cast<size_t>(length) + 1);
    int copied = GetWindowTextA(window, text, length + 1);
    text[copied > 0 ? copied : 0] = '\0';
    return text;
}

class Win32SendPort final : public SendPort {
public:
    bool IsChecked(CheckBoxId box) override {
        HWND check = ControlWindow(box == CheckBoxId::选择框1 ? ControlId::选择框1 : ControlId::选择框2);
        return SendMessageA(check, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    int32_t LineCount() override {
        LRESULT count = SendMessageA(ControlWindow(ControlId::超级编辑框1), EM_GETLINECOUNT, 0, 0);
        return count < 1 ? 1 : static_cast<int32_t>(count);
    }
    Text LineText(int32_t index) override {
        static unsigned char buffer[kLineBufferSize];
        PrepareLineBuffer(buffer);
        LRESULT copied = SendMessageA(ControlWindow(ControlId::超级编辑框1), EM_GETLINE, static_cast<WPARAM>(index),
                                      reinterpret_cast<LPARAM>(buffer));
        return TextFromLineBuffer(buffer, copied);
    }
    bool PutOnClipboard(Text message) override { return PutTextOnClipboard(message); }
    void PressKeys(std::initializer_list<uint8_t> keys) override {
        for (const KeyEvent& e : KeyEventsFor(keys)) keybd_event(e.vk, 0, e.up ? KEYEVENTF_KEYUP : 0, 0);
    }
    void Wait(uint32_t milliseconds) override { Sleep(milliseconds); }
};

class Win32TimerApi final : public TimerApi {
public:
    void SetTimer(uint32_t id, uint32_t milliseconds) override {
        ::SetTimer(ControlWindow(ControlId::时钟1), id, milliseconds, nullptr);
    }
    void KillTimer(uint32_t id) override { ::KillTimer(ControlWindow(ControlId::时钟1), id); }
};

Win32TimerApi timerApi;
TimerControl clock(timerApi);

class Win32TogglePort final : public TogglePort {
public:
    Text ReadButtonCaption() override { return ReadWindowText(ControlWindow(ControlId::按钮1)); }
    void WriteButtonCaption(Text caption) override {
        SetWindowTextA(ControlWindow(ControlId::按钮1), caption ? caption : "");
    }
    Text ReadIntervalText() override { return ReadWindowText(ControlWindow(ControlId::编辑框3)); }
    void WriteTimerPeriod(int32_t milliseconds) override { clock.WritePeriod(milliseconds); }
};

class Win32HotkeyPort final : public HotkeyPort {
public:
    WindowRef MainWindowHandle() override { return reinterpret_cast<WindowRef>(mainWindow.main); }
    WindowRef Label1Handle() override { return reinterpret_cast<WindowRef>(ControlWindow(ControlId::标签1)); }
    bool RegisterHotKey(WindowRef window, int32_t id, uint32_t modifiers, uint32_t vk) override {
        return ::RegisterHotKey(reinterpret_cast<HWND>(window), id, modifiers, vk) != 0;
    }
    WindowProcRef InstallHotkeyWindowProc(WindowRef window) override {
        return static_cast<WindowProcRef>(SetWindowLongPtrA(reinterpret_cast<HWND>(window), GWLP_WNDPROC,
                                                            reinterpret_cast<LONG_PTR>(HotkeyWindowTrampoline)));
    }
    intptr_t CallProcedure(WindowProcRef proc, WindowRef window, uint32_t message, uintptr_t wParam,
                            intptr_t lParam) override {
        return ::CallWindowProcA(reinterpret_cast<WNDPROC>(proc), reinterpret_cast<HWND>(window), message, wParam,
                                 lParam);
    }
    intptr_t SendToWindow(WindowRef window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        return SendMessageA(reinterpret_cast<HWND>(window), message, wParam, lParam);
    }
    void ShowMessageBox(Text text, Text title, uint32_t type) override { MessageBoxA(nullptr, text, title, type); }
};

class Win32ShellPort final : public ShellPort {
public:
    intptr_t Execute(Text file, Text parameters, Text directory) override {
        return reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, nullptr, file, parameters, directory, SW_SHOWNORMAL));
    }
};

Win32SendPort sendPort;
Win32TogglePort togglePort;
Win32HotkeyPort hotkeyPort;
Win32ShellPort shellPort;

}  // namespace

TimerControl& Clock() { return clock; }

void InstallPanelPorts() {
    panelPorts.send = &sendPort;
    panelPorts.toggle = &togglePort;
    panelPorts.hotkeys = &hotkeyPort;
    panelPorts.shell = &shellPort;
}

// What the hotkey puts on MainWindow: a WM_HOTKEY of ours becomes the
// feedback event of 标签1; every message then goes to the window's own procedure.
LRESULT CALLBACK HotkeyWindowTrampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return HotkeyWindowProc(hotkeyPort, reinterpret_cast<WindowRef>(window), message, wParam, lParam);
}
