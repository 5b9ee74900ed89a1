#include "engine/send_cycle.h"

#include "engine/random_hanzi.h"

int32_t lineCursor = 0;

std::vector<KeyEvent> KeyEventsFor(std::initializer_list<uint8_t> keys) {
    std::vector<KeyEvent> events;
    for (uint8_t vk : keys) events.push_back({vk, false});
    for (uint8_t vk : keys) events.push_back({vk, true});
    return events;
}

namespace {

Text ComposeMessage(SendPort& port) {
    bool withSuffix = port.IsChecked(CheckBoxId::选择框2);
    Text line = port.LineText(lineCursor);
    if (!withSuffix) return line;
    Text suffix = RandomHanzi(3);
    Text message = JoinTexts({line, suffix});
    ReleaseText(line);
    ReleaseText(suffix);
    return message;
}

}  // namespace

void OnSendTick(SendPort& port) {
    // Lines may have been removed since the last tick: a cursor past the end
    // would only ever read past-the-end lines, so the pass starts over.
    int32_t count = port.LineCount();
    if (lineCursor < 0 || lineCursor >= count) lineCursor = 0;

    Text message = ComposeMessage(port);
    bool onClipboard = port.PutOnClipboard(message);
    ReleaseText(message);
    // Pasting without our text on the clipboard would send whatever the user
    // copied last; keep the line for the next tick instead.
    if (!onClipboard) return;

    port.Wait(1);
    port.PressKeys({kVkControl, kVkV});
    port.Wait(1);
    port.PressKeys({kVkReturn});
    port.Wait(1);
    if (port.IsChecked(CheckBoxId::选择框1)) port.PressKeys({kVkReturn});

    // Read again: lines added or removed during this tick count at once.
    count = port.LineCount();
    ++lineCursor;
    if (lineCursor >= count) lineCursor = 0;
}
