#include "engine/random_hanzi.h"

#include <chrono>

#include "text/text_heap.h"

uint32_t seedOffset = 0;

namespace {

struct SteadyTickCounter final : TickCounter {
    uint32_t TickCount() override {
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now().time_since_epoch());
        return static_cast<uint32_t>(ms.count());
    }
};

SteadyTickCounter steadyCounter;
TickCounter* tickCounter = &steadyCounter;

uint32_t generatorState = 0;

uint32_t NextRandom() {
    generatorState = generatorState * 214013u + 2531011u;
    return (generatorState >> 16) & 0x7FFFu;
}

// A plain remainder, without rejection: the small values come up slightly
// more often, which nobody reading a chat can tell.
unsigned char RandomByte(unsigned lo, unsigned hi) {
    return static_cast<unsigned char>(lo + NextRandom() % (hi - lo + 1));
}

void Seed() {
    uint32_t seed = tickCounter->TickCount() + seedOffset;
    seedOffset += (seed & 0xFFu) + 100u;
    generatorState = seed;
}

}  // namespace

void UseTickCounter(TickCounter* counter) { tickCounter = counter ? counter : &steadyCounter; }

Text RandomHanzi(int32_t count) {
    Seed();
    size_t characters = count > 0 ? static_cast<size_t>(count) : 0;
    char* text = AllocateTextBytes(2 * characters + 1);
    char* out = text;
    for (size_t i = 0; i < characters; ++i) {
        *out++ = static_cast<char>(RandomByte(0xB0, 0xF7));
        *out++ = static_cast<char>(RandomByte(0xA1, 0xFE));
    }
    *out = '\0';
    return text;
}
