// Texts live on the process heap; the random seed reads the system tick count.
#include <windows.h>

#include "engine/random_hanzi.h"
#include "text/text_heap.h"

namespace {

struct ProcessHeap final : TextHeap {
    void* Allocate(size_t bytes) override { return HeapAlloc(GetProcessHeap(), 0, bytes); }
    void Free(void* block) override { HeapFree(GetProcessHeap(), 0, block); }
};

struct SystemTicks final : TickCounter {
    uint32_t TickCount() override { return GetTickCount(); }
};

ProcessHeap processHeap;
SystemTicks systemTicks;

}  // namespace

void UseSystemServices() {
    UseTextHeap(&processHeap);
    UseTickCounter(&systemTicks);
}
