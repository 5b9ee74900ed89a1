#include "panel/keyboard.h"

KeyAction ScreenKey(const KeyPress& key) {
    // Only the text box claims a key, and only Enter: it starts a new line.
    if (key.focusIsRichEdit && key.vk == kVkReturnKey) return KeyAction::PassOn;
    if (key.ctrl || key.alt) return KeyAction::PassOn;
    if (key.vk == kVkEscape && !key.shift) return KeyAction::Close;
    if (key.vk == kVkTab) return key.shift ? KeyAction::FocusPrevious : KeyAction::FocusNext;
    return KeyAction::PassOn;
}

std::optional<ControlId> NextTabStop(std::optional<ControlId> current, bool backward,
                                     const std::function<bool(ControlId)>& canTakeFocus) {
    constexpr int n = sizeof kTabOrder / sizeof kTabOrder[0];
    int at = backward ? 0 : n - 1;  // so that the first step lands on the first (last) control
    if (current) {
        for (int i = 0; i < n; ++i)
            if (kTabOrder[i] == *current) at = i;
    }
    for (int step = 1; step <= n; ++step) {
        int i = ((at + (backward ? -step : step)) % n + n) % n;
        if (canTakeFocus(kTabOrder[i])) return kTabOrder[i];
    }
    return std::nullopt;
}
