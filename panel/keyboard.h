#pragma once
// What the message loop does with a key press before the focused control
// sees it: Esc closes, Tab and Shift+Tab move the focus, the rest pass on.
#include <cstdint>
#include <functional>
#include <optional>

#include "panel/layout.h"

constexpr uint32_t kVkTab = 0x09;
constexpr uint32_t kVkReturnKey = 0x0D;
constexpr uint32_t kVkEscape = 0x1B;

struct KeyPress {
    uint32_t vk;
    bool shift, ctrl, alt;
    bool focusIsRichEdit;  // 超级编辑框1 has the focus
};

enum class KeyAction { PassOn, Close, FocusNext, FocusPrevious };

KeyAction ScreenKey(const KeyPress& key);

// The control that Tab (or Shift+Tab) moves to from `current`, wrapping round
// and skipping controls that cannot take the focus now. From outside the tab
// order it starts at the first (or last) control. Nothing when none can.
std::optional<ControlId> NextTabStop(std::optional<ControlId> current, bool backward,
                                     const std::function<bool(ControlId)>& canTakeFocus);
