#pragma once
// The buffer a rich edit line read goes through: zeroed, with the capacity in
// its first 16-bit word, as EM_GETLINE expects.
#include <cstddef>
#include <cstdint>

#include "text/text.h"

constexpr size_t kLineBufferSize = 8192;
constexpr uint16_t kLineCapacity = 8187;

void PrepareLineBuffer(unsigned char (&buffer)[kLineBufferSize]);

// The line's text from a filled buffer: the `copied` bytes the box reported,
// cut at the first NUL. The count matters for an empty line, where the box
// writes nothing and the capacity word is all the buffer holds.
Text TextFromLineBuffer(const unsigned char (&buffer)[kLineBufferSize], intptr_t copied);
