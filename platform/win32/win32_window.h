#pragma once
// The Windows side of MainWindow: the window handles and what was loaded for
// them, shared by the files of this directory.
#include <windows.h>

#include "panel/layout.h"
#include "panel/timer_control.h"

struct Win32Window {
    HINSTANCE instance = nullptr;
    HWND main = nullptr;
    HWND controls[kControlCount] = {};
    HMODULE richEditLibrary = nullptr;
    HFONT linkFont = nullptr;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
};
extern Win32Window mainWindow;

inline HWND ControlWindow(ControlId id) { return mainWindow.controls[static_cast<int>(id)]; }

// The ports the event handlers work through (ports.cpp).
void InstallPanelPorts();
TimerControl& Clock();

// Window classes and procedures (window.cpp, label.cpp).
bool RegisterWindowClasses(HINSTANCE instance);
extern const char kMainWindowClass[];
extern const char kLabelClass[];
extern const char kTimerClass[];
void SetLabelTextColour(HWND label, COLORREF colour);

// The message loop with its keyboard pre-screening (message_loop.cpp).
void RunMessageLoop();

// Builds MainWindow through the portable loading order; false on failure,
// with `failure` saying what could not be created (window.cpp).
bool LoadMainWindowWin32(Text* failure);
