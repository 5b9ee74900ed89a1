// Labels paint their own text: one line, left-aligned, vertically centred,
// transparent over the dialog colour. They turn WM_LABEL_FEEDBACK and a left
// button press into events of their own.
#include <windows.h>
#include <windowsx.h>

#include "panel/events.h"
#include "win32_window.h"

namespace {

const char kColourProperty[] = "VexmoraLabelColour";
const char kFontProperty[] = "VexmoraLabelFont";

ControlId LabelId(HWND label) { return static_cast<ControlId>(GetDlgCtrlID(label)); }

void PaintLabel(HWND label) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(label, &ps);
    RECT client;
    GetClientRect(label, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    char text[512];
    int length = GetWindowTextA(label, text, sizeof text);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(reinterpret_cast<uintptr_t>(GetPropA(label, kColourProperty))));
    DrawTextA(dc, text, length, &client, DT_NOCLIP | DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    if (oldFont) SelectObject(dc, oldFont);
    EndPaint(label, &ps);
}

int ModifierKeys(WPARAM wParam) {
    int keys = 0;
    if (wParam & MK_CONTROL) keys |= 1;
    if (wParam & MK_SHIFT) keys |= 2;
    if (GetKeyState(VK_MENU) < 0) keys |= 4;
    return keys;
}

LRESULT CALLBACK LabelProc(HWND label, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintLabel(label);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills the whole client area
        case WM_SETFONT:
            SetPropA(label, kFontProperty, reinterpret_cast<HANDLE>(wParam));
            if (LOWORD(lParam)) InvalidateRect(label, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(GetPropA(label, kFontProperty));
        case WM_SETTEXT: {
            LRESULT result = DefWindowProcA(label, message, wParam, lParam);
            InvalidateRect(label, nullptr, TRUE);
            return result;
        }
        case WM_LBUTTONDOWN:
            RaiseEvent(FromControl(LabelId(label)), Event::LeftButtonDown, GET_X_LPARAM(lParam),
                       GET_Y_LPARAM(lParam), ModifierKeys(wParam));
            return 0;
        case WM_NCDESTROY:
            RemovePropA(label, kColourProperty);
            RemovePropA(label, kFontProperty);
            break;
        default:
            if (message == kWmLabelFeedback) {
                RaiseEvent(FromControl(LabelId(label)), Event::Feedback, static_cast<intptr_t>(wParam), lParam);
                return 0;
            }
    }
    return DefWindowProcA(label, message, wParam, lParam);
}

}  // namespace

const char kLabelClass[] = "VexmoraLabel";

void SetLabelTextColour(HWND label, COLORREF colour) {
    SetPropA(label, kColourProperty, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(colour)));
}

bool RegisterLabelClass(HINSTANCE instance) {
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = LabelProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = kLabelClass;
    return RegisterClassA(&wc) != 0;
}
