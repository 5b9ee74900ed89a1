#pragma once
// Where allocated texts come from. The Windows program plugs in the process
// heap; elsewhere plain malloc/free serves.
#include <cstddef>

struct TextHeap {
    virtual ~TextHeap() = default;
    virtual void* Allocate(size_t bytes) = 0;  // nullptr when memory runs out
    virtual void Free(void* block) = 0;
};

// nullptr restores the default heap.
void UseTextHeap(TextHeap* heap);

// Called when an allocation fails, with the number of bytes asked for. It must
// not return (the program shows its error box and ends); if it does, the
// process aborts rather than hand out a null text.
using OutOfMemoryHandler = void (*)(size_t bytesAsked);
void SetOutOfMemoryHandler(OutOfMemoryHandler handler);

// Storage for a text of `bytes` bytes including its NUL.
char* AllocateTextBytes(size_t bytes);
