// window_probe.exe: reports on the program's main windows from outside.
//
//   window_probe list     one line per top-level window of the program's
//                         main window class:
//                           <hwnd> <visible 0|1> <x> <y> <w> <h> <caption hex>
//                         x y w h: the outer rectangle (GetWindowRect);
//                         caption: the bytes of the start/stop button (control
//                         id 1) as uppercase hex, "-" when empty.
//   window_probe boxes    one line per visible top-level dialog (#32770):
//                           <hwnd> <title hex> <text hex>
//                         where text is that of the dialog's static control.
//
// Exit code 0; 2 for bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

void PrintHex(const char* bytes) {
    if (!*bytes) {
        std::fputs("-", stdout);
        return;
    }
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes); *p; ++p) std::printf("%02X", *p);
}

void TextOf(HWND window, char* out, int size) {
    out[0] = '\0';
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, size, reinterpret_cast<LPARAM>(out), SMTO_ABORTIFHUNG, 2000,
                             &copied))
        out[0] = '\0';
    out[size - 1] = '\0';
}

BOOL CALLBACK ListMain(HWND window, LPARAM) {
    char cls[64];
    if (!GetClassNameA(window, cls, sizeof cls) || std::strcmp(cls, "VexmoraMainWindow") != 0) return TRUE;
    RECT r;
    GetWindowRect(window, &r);
    char caption[256];
    HWND button = GetDlgItem(window, 1);
    caption[0] = '\0';
    if (button) TextOf(button, caption, sizeof caption);
    std::printf("%llu %d %ld %ld %ld %ld ", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)),
                IsWindowVisible(window) ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top);
    PrintHex(caption);
    std::printf("\n");
    return TRUE;
}

BOOL CALLBACK FindStatic(HWND child, LPARAM out) {
    char cls[64];
    if (GetClassNameA(child, cls, sizeof cls) && _stricmp(cls, "Static") == 0) {
        char text[512];
        TextOf(child, text, sizeof text);
        if (text[0]) {
            std::strcpy(reinterpret_cast<char*>(out), text);
            return FALSE;
        }
    }
    return TRUE;
}

BOOL CALLBACK ListBoxes(HWND window, LPARAM) {
    char cls[64];
    if (!IsWindowVisible(window) || !GetClassNameA(window, cls, sizeof cls) || std::strcmp(cls, "#32770") != 0)
        return TRUE;
    char title[256], text[512] = "";
    TextOf(window, title, sizeof title);
    EnumChildWindows(window, FindStatic, reinterpret_cast<LPARAM>(text));
    std::printf("%llu ", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(window)));
    PrintHex(title);
    std::printf(" ");
    PrintHex(text);
    std::printf("\n");
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "list") == 0) {
        EnumWindows(ListMain, 0);
    } else if (argc == 2 && std::strcmp(argv[1], "boxes") == 0) {
        EnumWindows(ListBoxes, 0);
    } else {
        std::fprintf(stderr, "usage: window_probe list|boxes\n");
        return 2;
    }
    std::fflush(stdout);
    return 0;
}
