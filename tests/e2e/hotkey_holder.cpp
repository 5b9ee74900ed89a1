// hotkey_holder.exe KEY...
//
// Test-only program that takes global hotkeys away from the program under
// test. KEY is one of F1, F2, F3, AltZ (no modifiers for the function keys,
// MOD_ALT for Z). Each is registered with RegisterHotKey on a hidden window
// of this program, in the order given, and one line is printed per key:
//
//     F1 granted
//     F2 refused
//
// followed by "ready" once all keys were tried. Then the program runs a
// message loop until it is killed, printing "pressed F1" each time a held
// hotkey fires. stdout is flushed after every line and uses LF line ends.
//
// Exit codes: 2 for no or unknown key names (nothing is registered then),
// 1 when the window cannot be made.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Key {
    const char* name;
    UINT modifiers;
    UINT vk;
};

const Key kKeys[] = {
    {"F1", 0, VK_F1},
    {"F2", 0, VK_F2},
    {"F3", 0, VK_F3},
    {"AltZ", MOD_ALT, 'Z'},
};

const Key* find_key(const char* name) {
    for (const Key& key : kKeys)
        if (std::strcmp(key.name, name) == 0) return &key;
    return nullptr;
}

void say(const char* format, const char* name) {
    std::printf(format, name);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    if (argc < 2) {
        std::fprintf(stderr, "usage: hotkey_holder KEY... (F1 F2 F3 AltZ)\n");
        return 2;
    }
    std::vector<const Key*> wanted;
    for (int i = 1; i < argc; ++i) {
        const Key* key = find_key(argv[i]);
        if (!key) {
            say("unknown %s\n", argv[i]);
            return 2;
        }
        wanted.push_back(key);
    }

    HWND window = CreateWindowExA(0, "STATIC", "hotkey holder", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) return 1;

    std::vector<const Key*> by_id(wanted.size() + 1, nullptr);
    for (size_t i = 0; i < wanted.size(); ++i) {
        int id = static_cast<int>(i) + 1;
        bool ok = RegisterHotKey(window, id, wanted[i]->modifiers, wanted[i]->vk) != 0;
        if (ok) by_id[i + 1] = wanted[i];
        say(ok ? "%s granted\n" : "%s refused\n", wanted[i]->name);
    }
    say("%s\n", "ready");

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_HOTKEY) {
            size_t id = static_cast<size_t>(msg.wParam);
            if (id < by_id.size() && by_id[id]) say("pressed %s\n", by_id[id]->name);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
