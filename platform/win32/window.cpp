// MainWindow and its controls, created in the program's loading order.
#include <windows.h>
#include <richedit.h>

#include "panel/events.h"
#include "panel/main_window.h"
#include "text/literals.h"
#include "win32_window.h"

Win32Window mainWindow;

const char kMainWindowClass[] = "VexmoraMainWindow";
const char kTimerClass[] = "VexmoraTimer";

bool RegisterLabelClass(HINSTANCE instance);  // label.cpp

namespace {

constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

// The control that had the focus when the window was last deactivated, so
// that switching back to the program lands where the user left off.
HWND focusBeforeDeactivation = nullptr;

void RestoreFocus() {
    HWND target = focusBeforeDeactivation;
    if (!target || !IsWindow(target) || !IsWindowVisible(target)) target = ControlWindow(kTabOrder[0]);
    if (target) SetFocus(target);
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(window, focus)) focusBeforeDeactivation = focus;
            } else if (!HIWORD(wParam)) {  // not while minimised
                RestoreFocus();
            }
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED && reinterpret_cast<HWND>(lParam) == ControlWindow(ControlId::按钮1)) {
                RaiseEvent(FromControl(ControlId::按钮1), Event::Click);
                return 0;
            }
            break;
        case WM_CLOSE:
            RaiseEvent(kMainWindowSource, Event::CloseQuery);
            return 0;
        case WM_QUERYENDSESSION: {
            LRESULT agreed = DefWindowProcA(window, message, wParam, lParam);
            if (agreed) RaiseEvent(kMainWindowSource, Event::CloseQuery);
            return agreed;
        }
        case WM_CTLCOLORSTATIC: {
            // Check boxes: black text on the dialog colour.
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_CTLCOLOREDIT: {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, RGB(0, 0, 0));
            SetBkColor(dc, RGB(255, 255, 255));
            return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK TimerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kClockTimerId) RaiseEvent(FromControl(ControlId::时钟1), Event::Periodic);
            return 0;
        case WM_DESTROY:
            Clock().OnWindowDestroyed();
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterPlainClass(HINSTANCE instance, const char* name, WNDPROC proc, HBRUSH background, HICON icon,
                        HICON smallIcon) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = smallIcon;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassExA(&wc) != 0;
}

// The rich edit library: RICHED20.DLL, else RICHED32.DLL; loaded once.
void LoadRichEditLibrary() {
    if (mainWindow.richEditLibrary) return;
    mainWindow.richEditLibrary = LoadLibraryA("RICHED20.DLL");
    if (!mainWindow.richEditLibrary) mainWindow.richEditLibrary = LoadLibraryA("RICHED32.DLL");
}

DWORD CALLBACK StreamFromText(DWORD_PTR cookie, LPBYTE buffer, LONG wanted, LONG* given) {
    auto** cursor = reinterpret_cast<const char**>(cookie);
    LONG n = 0;
    while (n < wanted && (*cursor)[n]) ++n;
    memcpy(buffer, *cursor, static_cast<size_t>(n));
    *cursor += n;
    *given = n;
    return 0;
}

void SetUpRichEdit(HWND box, Text initialText) {
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE |
                    CFM_STRIKEOUT | CFM_PROTECTED | CFM_OFFSET;
    format.dwEffects = CFE_AUTOCOLOR;
    format.yHeight = 180;
    format.yOffset = 0;
    format.bCharSet = DEFAULT_CHARSET;
    lstrcpynA(format.szFaceName, "宋体", LF_FACESIZE);
    SendMessageA(box, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));

    const char* cursor = initialText;
    EDITSTREAM stream = {};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&cursor);
    stream.pfnCallback = StreamFromText;
    SendMessageA(box, EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&stream));

    SendMessageA(box, EM_EXLIMITTEXT, 0, 2147483647);
    CHARRANGE start = {0, 0};
    SendMessageA(box, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&start));
    SendMessageA(box, EM_SETBKGNDCOLOR, 1, 0);
    SendMessageA(box, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SCROLL | ENM_SELCHANGE | ENM_PROTECTED);
    SendMessageA(box, EM_SETOPTIONS, ECOOP_OR, ECO_AUTOWORDSELECTION);
    SendMessageA(box, EM_SETMODIFY, 0, 0);
}

HFONT CreateLinkFont() {
    LOGFONTA font = {};
    font.lfHeight = -12;
    font.lfWeight = FW_BOLD;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = PROOF_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynA(font.lfFaceName, "宋体", LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

HWND CreateChild(const ControlLayout& layout, const char* className, DWORD style, DWORD exStyle) {
    // Clipped to its siblings so that 编辑框3 and 选择框1 stay drawn over 标签2.
    DWORD tab = layout.tabStop ? WS_TABSTOP : 0;
    return CreateWindowExA(exStyle, className, layout.text ? layout.text : "", WS_CHILD | WS_CLIPSIBLINGS | tab | style,
                           layout.x, layout.y, layout.width, layout.height, mainWindow.main,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)), mainWindow.instance, nullptr);
}

HWND CreateRichEdit(const ControlLayout& layout) {
    LoadRichEditLibrary();
    if (!mainWindow.richEditLibrary) return nullptr;
    const DWORD style = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_BORDER;
    // Created empty: the initial text goes in by streaming, after the format is set.
    ControlLayout empty = layout;
    empty.text = nullptr;
    HWND box = CreateChild(empty, RICHEDIT_CLASSA, style, 0);
    if (!box) box = CreateChild(empty, "RICHEDIT", style, 0);
    if (box) SetUpRichEdit(box, layout.text);
    return box;
}

HWND CreateControlWindow(const ControlLayout& layout) {
    switch (layout.kind) {
        case ControlKind::Label:
            return CreateChild(layout, kLabelClass, 0, 0);
        case ControlKind::PushButton:
            return CreateChild(layout, "BUTTON", BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER, 0);
        case ControlKind::CheckBox:
            return CreateChild(layout, "BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE | BS_LEFT | BS_VCENTER, 0);
        case ControlKind::LineEdit:
            return CreateChild(layout, "EDIT", ES_CENTER | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
        case ControlKind::RichEdit:
            return CreateRichEdit(layout);
        case ControlKind::Timer:
            return CreateChild(layout, kTimerClass, 0, 0);
    }
    return nullptr;
}

class Win32Builder final : public WindowBuilder {
public:
    bool CreateMainWindow() override {
        int screenWidth = GetSystemMetrics(SM_CXSCREEN);
        int screenHeight = GetSystemMetrics(SM_CYSCREEN);
        Point origin = CentredOrigin(screenWidth, screenHeight);
        HWND window = CreateWindowExA(0, kMainWindowClass, kLiterals.windowTitle, kMainWindowStyle, origin.x,
                                      origin.y, kWindowWidth, kWindowHeight, nullptr, nullptr, mainWindow.instance,
                                      nullptr);
        if (!window) return false;
        mainWindow.main = window;
        SetWindowPos(window, nullptr, origin.x, origin.y, kWindowWidth, kWindowHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(mainWindow.bigIcon));
        SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(mainWindow.smallIcon));
        return true;
    }

    bool CreateControl(const ControlLayout& layout) override {
        HWND control = CreateControlWindow(layout);
        if (!control) return false;
        mainWindow.controls[static_cast<int>(layout.id)] = control;
        HFONT font = reinterpret_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
        if (layout.id == ControlId::标签3) {
            mainWindow.linkFont = CreateLinkFont();
            if (mainWindow.linkFont) font = mainWindow.linkFont;
        }
        if (layout.kind != ControlKind::RichEdit) SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (layout.kind == ControlKind::Label)
            SetLabelTextColour(control, layout.id == ControlId::标签3 ? RGB(255, 0, 0) : RGB(0, 0, 0));
        if (layout.kind == ControlKind::LineEdit) {
            SendMessageA(control, EM_LIMITTEXT, 0, 0);
            SendMessageA(control, EM_SETSEL, 0, 0);  // caret at the start, nothing selected
        }
        return true;
    }

    void PlaceOnTop(ControlId control) override {
        SetWindowPos(ControlWindow(control), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    void PlaceBelow(ControlId control, ControlId above) override {
        SetWindowPos(ControlWindow(control), ControlWindow(above), 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    void ShowControl(ControlId control) override { ShowWindow(ControlWindow(control), SW_SHOWNA); }
    bool MainWindowExists() override { return mainWindow.main && IsWindow(mainWindow.main); }
    void ShowMainWindow() override { ShowWindow(mainWindow.main, SW_SHOW); }
};

}  // namespace

bool RegisterWindowClasses(HINSTANCE instance) {
    mainWindow.instance = instance;
    mainWindow.bigIcon = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(1), IMAGE_ICON,
                                                       GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
    mainWindow.smallIcon = static_cast<HICON>(LoadImageA(
        instance, MAKEINTRESOURCEA(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    return RegisterPlainClass(instance, kMainWindowClass, MainWindowProc, GetSysColorBrush(COLOR_BTNFACE),
                              mainWindow.bigIcon, mainWindow.smallIcon) &&
           RegisterPlainClass(instance, kTimerClass, TimerWindowProc, nullptr, nullptr, nullptr) &&
           RegisterLabelClass(instance);
}

bool LoadMainWindowWin32(Text* failure) {
    Win32Builder builder;
    LoadResult result = LoadMainWindow(builder);
    if (!result.ok) *failure = DescribeLoadFailure(result.mainWindowFailed, result.failedControl);
    return result.ok;
}
