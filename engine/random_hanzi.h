#pragma once
// Random characters from the hanzi rows of GB2312 (lead 0xB0-0xF7, trail
// 0xA1-0xFE), appended to a message so that repeated lines differ.
#include <cstdint>

#include "text/text.h"

// Milliseconds since the system started; the Windows program plugs in
// GetTickCount.
struct TickCounter {
    virtual ~TickCounter() = default;
    virtual uint32_t TickCount() = 0;
};

// nullptr restores the default counter (a steady clock).
void UseTickCounter(TickCounter* counter);

// Grows at every seeding so that calls within one millisecond differ.
extern uint32_t seedOffset;

// A new text of 2 * count bytes; the empty text for a count of 0 or less.
// Every call seeds the generator afresh from the tick count and seedOffset.
Text RandomHanzi(int32_t count);
