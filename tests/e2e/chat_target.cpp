// chat_target.exe LOGFILE [CLIPLOG]
//
// Test-only stand-in for a chat window: a top-level window titled
// "chat target" holding one single-line EDIT control, which has the keyboard
// focus whenever the window does. Each Enter pressed in the edit submits its
// current contents: the exact bytes from GetWindowTextA (ANSI code page, GBK
// under the e2e setup) are appended as one record to LOGFILE and the edit is
// cleared.
//
// LOGFILE format: one record per line, LF-terminated, written with a single
// WriteFile call (no buffering, so a reader sees whole records only):
//
//     <ms> <hex>
//
//   <ms>   milliseconds from GetTickCount64 at the moment Enter was seen,
//          decimal; comparable between processes on one machine.
//   <hex>  the submitted bytes as uppercase hex, two digits per byte, no
//          separators ("486921" for "Hi!"). An empty submission is written
//          as a single "-", so every record has exactly two fields.
//
// Bytes such as 0x0D or 0x0A cannot break a record because they are hex.
//
// CLIPLOG (optional): at every Enter the clipboard's CF_TEXT is read as well
// and one record is appended in the same format, "<ms> <hex>", where <hex>
// is "-" for an empty CF_TEXT, "none" when there is no CF_TEXT and "busy"
// when the clipboard could not be opened.
//
// Exit codes: 0 when the window is closed, 2 for bad arguments, 3 when a log
// file cannot be opened.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kClassName[] = "e2e_chat_target";
const char kTitle[] = "chat target";

HWND g_edit = nullptr;
HANDLE g_log = INVALID_HANDLE_VALUE;
HANDLE g_cliplog = INVALID_HANDLE_VALUE;

HANDLE open_append(const char* path) {
    return CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string hex_of(const char* bytes, size_t n) {
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(n * 2);
    for (size_t i = 0; i < n; ++i) {
        unsigned char b = static_cast<unsigned char>(bytes[i]);
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

void write_record(HANDLE file, unsigned long long ms, const std::string& field) {
    if (file == INVALID_HANDLE_VALUE) return;
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%llu ", ms);
    std::string line = stamp;
    line += field.empty() ? std::string("-") : field;
    line += '\n';
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    FlushFileBuffers(file);
}

std::string clipboard_field() {
    bool opened = false;
    for (int attempt = 0; attempt < 20 && !opened; ++attempt) {
        opened = OpenClipboard(nullptr) != 0;
        if (!opened) Sleep(10);
    }
    if (!opened) return "busy";
    std::string field = "none";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(GlobalLock(data))) {
            field = hex_of(text, std::strlen(text));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return field;
}

void submit() {
    unsigned long long now = GetTickCount64();
    int length = GetWindowTextLengthA(g_edit);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int got = GetWindowTextA(g_edit, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    write_record(g_log, now, hex_of(text.data(), text.size()));
    if (g_cliplog != INVALID_HANDLE_VALUE) write_record(g_cliplog, now, clipboard_field());
    SetWindowTextA(g_edit, "");
}

LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
    switch (msg) {
    case WM_CREATE:
        g_edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                                 10, 10, 380, 28, hwnd, reinterpret_cast<HMENU>(1),
                                 reinterpret_cast<CREATESTRUCTA*>(lparam)->hInstance, nullptr);
        if (!g_edit) return -1;
        SendMessageA(g_edit, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wparam) != WA_INACTIVE) SetFocus(g_edit);
        return 0;
    case WM_SETFOCUS:
        SetFocus(g_edit);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wparam, lparam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
    if (__argc < 2 || __argc > 3) {
        std::fprintf(stderr, "usage: chat_target LOGFILE [CLIPLOG]\n");
        return 2;
    }
    g_log = open_append(__argv[1]);
    if (g_log == INVALID_HANDLE_VALUE) return 3;
    if (__argc == 3) {
        g_cliplog = open_append(__argv[2]);
        if (g_cliplog == INVALID_HANDLE_VALUE) return 3;
    }

    WNDCLASSA wc = {};
    wc.lpfnWndProc = window_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc)) return 1;

    HWND window = CreateWindowExA(0, kClassName, kTitle, WS_OVERLAPPEDWINDOW, 100, 100, 420, 100,
                                  nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, show == SW_HIDE ? SW_SHOWNORMAL : show);
    UpdateWindow(window);
    SetFocus(g_edit);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Enter submits; it never reaches the edit, so it neither beeps nor
        // ends up in the text.
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && msg.hwnd == g_edit) {
            submit();
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    CloseHandle(g_log);
    if (g_cliplog != INVALID_HANDLE_VALUE) CloseHandle(g_cliplog);
    return static_cast<int>(msg.wParam);
}
