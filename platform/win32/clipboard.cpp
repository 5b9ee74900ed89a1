// The message goes onto the clipboard as the exact CF_TEXT bytes and, in the
// same open/close, as CF_UNICODETEXT converted with the ANSI code page: left
// to Windows, the Unicode form would follow the input language and a chat
// program reading it would get mojibake under an English keyboard layout.
#include <windows.h>

#include <cstring>

#include "text/text.h"

namespace {

HGLOBAL CopyToGlobal(const void* bytes, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!memory) return nullptr;
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(memory);
    return memory;
}

bool SetFormat(UINT format, HGLOBAL memory) {
    if (SetClipboardData(format, memory)) return true;  // the clipboard owns it now
    GlobalFree(memory);
    return false;
}

void PutUnicodeForm(Text message, int length) {
    int units = MultiByteToWideChar(CP_ACP, 0, message, length + 1, nullptr, 0);
    if (units <= 0) return;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<size_t>(units) * sizeof(WCHAR));
    if (!memory) return;
    auto* wide = static_cast<WCHAR*>(GlobalLock(memory));
    if (!wide) {
        GlobalFree(memory);
        return;
    }
    MultiByteToWideChar(CP_ACP, 0, message, length + 1, wide, units);
    GlobalUnlock(memory);
    SetFormat(CF_UNICODETEXT, memory);
}

}  // namespace

bool PutTextOnClipboard(Text message) {
    if (!message) message = "";
    if (!OpenClipboard(nullptr)) return false;
    EmptyClipboard();
    int length = TextLength(message);
    bool placed = false;
    if (HGLOBAL memory = CopyToGlobal(message, static_cast<size_t>(length) + 1)) {
        placed = SetFormat(CF_TEXT, memory);
        if (placed) PutUnicodeForm(message, length);
    }
    CloseClipboard();
    return placed;
}
