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
//   window_probe foreground   the title of the foreground window as hex, the
//                         window that synthesized keys go to
//   window_probe count    the line count of the text box (EM_GETLINECOUNT)
//   window_probe line N   line N of the text box (EM_GETLINE) as hex
//   window_probe settext HEX       replaces the text box's content
//   window_probe setinterval HEX   replaces the interval box's content
//   window_probe settextfile PATH  the text box's content from a file's
//                         raw bytes (a command line holds 32767 characters)
//                         These four act on the first main window found;
//                         HEX is the GBK bytes, "-" for none.
//
// Exit code 0; 1 when there is no main window; 2 for bad arguments.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

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

// Control ids are the positions in the program's creation order.
constexpr int kIntervalBoxId = 4;
constexpr int kTextBoxId = 6;

HWND MainControl(int id) {
    HWND main = FindWindowA("VexmoraMainWindow", nullptr);
    return main ? GetDlgItem(main, id) : nullptr;
}

std::string FromHex(const char* hex) {
    std::string bytes;
    if (std::strcmp(hex, "-") == 0) return bytes;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
        char pair[3] = {hex[i], hex[i + 1], 0};
        bytes.push_back(static_cast<char>(std::strtoul(pair, nullptr, 16)));
    }
    return bytes;
}

std::string FromFile(const char* path) {
    std::string bytes;
    if (FILE* f = std::fopen(path, "rb")) {
        char chunk[65536];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
        std::fclose(f);
    }
    return bytes;
}

int SetText(int id, const std::string& text) {
    HWND control = MainControl(id);
    if (!control) return 1;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 300000,
                        &result);
    std::printf("%d\n", result ? 1 : 0);
    return 0;
}

int PrintLine(long index) {
    HWND box = MainControl(kTextBoxId);
    if (!box) return 1;
    static char buffer[8192];
    std::memset(buffer, 0, sizeof buffer);
    *reinterpret_cast<WORD*>(buffer) = 8187;
    LRESULT copied = SendMessageA(box, EM_GETLINE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    if (copied < 0) copied = 0;
    if (copied > 8187) copied = 8187;
    buffer[copied] = '\0';
    PrintHex(buffer);
    std::printf("\n");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "list") == 0) {
        EnumWindows(ListMain, 0);
    } else if (argc == 2 && std::strcmp(argv[1], "boxes") == 0) {
        EnumWindows(ListBoxes, 0);
    } else if (argc == 2 && std::strcmp(argv[1], "foreground") == 0) {
        char title[256] = "";
        if (HWND window = GetForegroundWindow()) TextOf(window, title, sizeof title);
        PrintHex(title);
        std::printf("\n");
    } else if (argc == 2 && std::strcmp(argv[1], "count") == 0) {
        HWND box = MainControl(kTextBoxId);
        if (!box) return 1;
        std::printf("%ld\n", static_cast<long>(SendMessageA(box, EM_GETLINECOUNT, 0, 0)));
    } else if (argc == 3 && std::strcmp(argv[1], "line") == 0) {
        if (int rc = PrintLine(std::strtol(argv[2], nullptr, 10))) return rc;
    } else if (argc == 3 && std::strcmp(argv[1], "settext") == 0) {
        if (int rc = SetText(kTextBoxId, FromHex(argv[2]))) return rc;
    } else if (argc == 3 && std::strcmp(argv[1], "settextfile") == 0) {
        if (int rc = SetText(kTextBoxId, FromFile(argv[2]))) return rc;
    } else if (argc == 3 && std::strcmp(argv[1], "setinterval") == 0) {
        if (int rc = SetText(kIntervalBoxId, FromHex(argv[2]))) return rc;
    } else {
        std::fprintf(stderr, "usage: window_probe list|boxes|foreground|count|line N|settext HEX|settextfile PATH|setinterval HEX\n");
        return 2;
    }
    std::fflush(stdout);
    return 0;
}
