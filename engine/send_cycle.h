#pragma once
// One tick of a run: the line at lineCursor goes onto the clipboard, then
// Ctrl+V and Enter go to whatever window has the keyboard focus.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "text/text.h"

enum class CheckBoxId {
    选择框1,  // "防卡|": a second Enter after each line
    选择框2,  // "+随机汉字": three random characters after each line
};

constexpr uint8_t kVkControl = 17;
constexpr uint8_t kVkV = 86;
constexpr uint8_t kVkReturn = 13;

// What a tick needs from the window and the system.
struct SendPort {
    virtual ~SendPort() = default;
    virtual bool IsChecked(CheckBoxId box) = 0;
    // Lines as the text box counts them (wrapped lines count); at least 1.
    virtual int32_t LineCount() = 0;
    // A new text with the line's bytes as the box holds them.
    virtual Text LineText(int32_t index) = 0;
    // True only when the clipboard now holds the message.
    virtual bool PutOnClipboard(Text message) = 0;
    // All keys down in turn, then all keys up in the same order (KeyEventsFor).
    virtual void PressKeys(std::initializer_list<uint8_t> keys) = 0;
    virtual void Wait(uint32_t milliseconds) = 0;
};

struct KeyEvent {
    uint8_t vk;
    bool up;
    bool operator==(const KeyEvent& o) const { return vk == o.vk && up == o.up; }
};

// The key events that pressing `keys` together consists of: Ctrl+V is Ctrl
// down, V down, Ctrl up, V up.
std::vector<KeyEvent> KeyEventsFor(std::initializer_list<uint8_t> keys);

// Index of the line the next tick sends.
extern int32_t lineCursor;

void OnSendTick(SendPort& port);
