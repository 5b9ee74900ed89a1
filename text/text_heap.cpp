#include "text/text_heap.h"

#include <cstdio>
#include <cstdlib>

namespace {

struct MallocHeap final : TextHeap {
    void* Allocate(size_t bytes) override { return std::malloc(bytes); }
    void Free(void* block) override { std::free(block); }
};

MallocHeap defaultHeap;
TextHeap* currentHeap = &defaultHeap;

void AbortOnOutOfMemory(size_t bytesAsked) {
    std::fprintf(stderr, "out of memory: %zu bytes asked for\n", bytesAsked);
}

OutOfMemoryHandler outOfMemory = AbortOnOutOfMemory;

}  // namespace

void UseTextHeap(TextHeap* heap) { currentHeap = heap ? heap : &defaultHeap; }

void SetOutOfMemoryHandler(OutOfMemoryHandler handler) {
    outOfMemory = handler ? handler : AbortOnOutOfMemory;
}

char* AllocateTextBytes(size_t bytes) {
    void* block = currentHeap->Allocate(bytes);
    if (!block) {
        outOfMemory(bytes);
        std::abort();  // the handler must not return: a null text here would be lost data
    }
    return static_cast<char*>(block);
}

// Texts go back to whichever heap is current; the program sets its heap once,
// before the first text is made.
void FreeTextBytes(void* block) { currentHeap->Free(block); }
