// clipboard_tool.exe COMMAND [ARG]
//
// Test-only clipboard probe. Output lines end in LF and are flushed one by
// one. Hex is uppercase.
//
//   read            prints two lines:
//                     text XX XX ...       CF_TEXT bytes up to the NUL
//                     unicode XXXX ...     CF_UNICODETEXT UTF-16LE code units
//                   A format that is absent prints "text none" or
//                   "unicode none"; a present but empty one prints just
//                   "text" or "unicode".
//   hold SECONDS    opens the clipboard, prints "held", keeps it open for
//                   SECONDS (fractions allowed), closes it, prints "released".
//   set TEXT        empties the clipboard and puts TEXT (the argument's bytes
//                   in the ANSI code page) on it as CF_TEXT.
//   set-hex HEX     the same with the bytes given as hex ("C4E3BAC3"), for
//                   bytes that do not survive a command line.
//   set-file PATH   the same with a file's raw bytes, for texts longer than
//                   a command line holds.
//   empty           empties the clipboard.
//   exit CODE       exits at once with CODE (a signed or unsigned decimal),
//                   to check how exit codes come back through the launcher.
//
// Opening the clipboard is retried for about two seconds. Exit codes: 0 on
// success, 2 for usage errors, 3 when the clipboard stays busy or a call
// fails.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void say(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

int usage() {
    std::fprintf(stderr,
                 "usage: clipboard_tool read | hold SECONDS | set TEXT | set-hex HEX | set-file PATH | empty | exit CODE\n");
    return 2;
}

HWND owner_window() {
    return CreateWindowExA(0, "STATIC", "clipboard tool", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

bool open_clipboard(HWND owner) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (OpenClipboard(owner)) return true;
        Sleep(10);
    }
    say("busy");
    return false;
}

int read_clipboard() {
    if (!open_clipboard(owner_window())) return 3;
    char byte_hex[4];
    std::string text = "text";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        const unsigned char* p = static_cast<const unsigned char*>(GlobalLock(data));
        size_t limit = GlobalSize(data);
        for (size_t i = 0; p && i < limit && p[i]; ++i) {
            std::snprintf(byte_hex, sizeof byte_hex, " %02X", p[i]);
            text += byte_hex;
        }
        if (p) GlobalUnlock(data);
    } else {
        text += " none";
    }
    char unit_hex[8];
    std::string unicode = "unicode";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        const WCHAR* p = static_cast<const WCHAR*>(GlobalLock(data));
        size_t limit = GlobalSize(data) / sizeof(WCHAR);
        for (size_t i = 0; p && i < limit && p[i]; ++i) {
            std::snprintf(unit_hex, sizeof unit_hex, " %04X", static_cast<unsigned>(p[i]));
            unicode += unit_hex;
        }
        if (p) GlobalUnlock(data);
    } else {
        unicode += " none";
    }
    CloseClipboard();
    say(text);
    say(unicode);
    return 0;
}

int hold_clipboard(const char* seconds_arg) {
    char* end = nullptr;
    double seconds = std::strtod(seconds_arg, &end);
    if (end == seconds_arg || *end || seconds < 0) return usage();
    if (!open_clipboard(owner_window())) return 3;
    say("held");
    Sleep(static_cast<DWORD>(seconds * 1000.0));
    CloseClipboard();
    say("released");
    return 0;
}

int set_clipboard(const std::string& bytes) {
    HWND owner = owner_window();
    if (!owner || !open_clipboard(owner)) return 3;
    int rc = 3;
    if (EmptyClipboard()) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size() + 1);
        if (char* p = memory ? static_cast<char*>(GlobalLock(memory)) : nullptr) {
            std::memcpy(p, bytes.data(), bytes.size());
            p[bytes.size()] = '\0';
            GlobalUnlock(memory);
            if (SetClipboardData(CF_TEXT, memory)) rc = 0;
            else GlobalFree(memory);
        }
    }
    CloseClipboard();
    say(rc == 0 ? "set" : "failed");
    return rc;
}

int empty_clipboard() {
    if (!open_clipboard(owner_window())) return 3;
    int rc = EmptyClipboard() ? 0 : 3;
    CloseClipboard();
    say(rc == 0 ? "emptied" : "failed");
    return rc;
}

bool parse_hex(const char* hex, std::string& out) {
    size_t n = std::strlen(hex);
    if (n % 2) return false;
    for (size_t i = 0; i < n; i += 2) {
        char pair[3] = {hex[i], hex[i + 1], '\0'};
        char* end = nullptr;
        long value = std::strtol(pair, &end, 16);
        if (*end || pair[0] == '-' || pair[0] == '+' || pair[0] == ' ') return false;
        out += static_cast<char>(value);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) return usage();
    const std::string command = argv[1];
    if (command == "read" && argc == 2) return read_clipboard();
    if (command == "empty" && argc == 2) return empty_clipboard();
    if (command == "hold" && argc == 3) return hold_clipboard(argv[2]);
    if (command == "set" && argc == 3) return set_clipboard(argv[2]);
    if (command == "set-hex" && argc == 3) {
        std::string bytes;
        if (!parse_hex(argv[2], bytes)) return usage();
        return set_clipboard(bytes);
    }
    if (command == "set-file" && argc == 3) {
        std::string bytes;
        FILE* f = std::fopen(argv[2], "rb");
        if (!f) return usage();
        char chunk[65536];
        size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.append(chunk, n);
        std::fclose(f);
        return set_clipboard(bytes);
    }
    if (command == "exit" && argc == 3) {
        char* end = nullptr;
        long long code = std::strtoll(argv[2], &end, 10);
        if (end == argv[2] || *end) return usage();
        std::fflush(stdout);
        ExitProcess(static_cast<UINT>(code));
    }
    return usage();
}
