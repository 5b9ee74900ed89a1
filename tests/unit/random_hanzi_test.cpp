#include <gtest/gtest.h>

#include "engine/random_hanzi.h"
#include "test_support.h"

namespace {

struct FixedTicks final : TickCounter {
    uint32_t now = 0;
    uint32_t TickCount() override { return now; }
};

class RandomHanziTest : public TextHeapTest {
protected:
    void SetUp() override {
        TextHeapTest::SetUp();
        UseTickCounter(&ticks);
        seedOffset = 0;
    }
    void TearDown() override {
        UseTickCounter(nullptr);
        TextHeapTest::TearDown();
    }
    FixedTicks ticks;
};

TEST_F(RandomHanziTest, KnownGeneratorStatesGiveKnownBytes) {
    struct Case {
        uint32_t state;
        const char* bytes;
    } cases[] = {{1, "D9 CC F6 F7 C1 BB"}, {0, "D6 AC F6 F8 F7 D0"}};
    for (const auto& c : cases) {
        seedOffset = 0;
        ticks.now = c.state;  // with seedOffset 0 the seed is the tick count
        Owned text(RandomHanzi(3));
        EXPECT_EQ(Hex(text.text), c.bytes) << "state " << c.state;
    }
}

TEST_F(RandomHanziTest, SeedOffsetSeparatesCallsInOneMillisecond) {
    // Seeds 0, 100, 300: the offset grows by (seed & 0xFF) + 100 each call.
    const uint32_t offsetsAfter[] = {100, 300, 444};
    for (uint32_t expected : offsetsAfter) {
        Owned text(RandomHanzi(3));
        EXPECT_EQ(seedOffset, expected);
    }
    seedOffset = 0;
    Owned first(RandomHanzi(3));
    Owned second(RandomHanzi(3));
    EXPECT_NE(first.str(), second.str());
}

TEST_F(RandomHanziTest, CountSetsLengthAndZeroStillSeeds) {
    Owned three(RandomHanzi(3));
    EXPECT_EQ(TextLength(three.text), 6);
    Owned none(RandomHanzi(0));
    ASSERT_NE(none.text, nullptr);
    EXPECT_EQ(TextLength(none.text), 0);
    Owned negative(RandomHanzi(-5));
    EXPECT_EQ(TextLength(negative.text), 0);
    EXPECT_EQ(seedOffset, 444u);  // three seedings at tick 0
}

TEST_F(RandomHanziTest, EveryCallSeedsAfresh) {
    seedOffset = 1000;
    ticks.now = 77;
    Owned a(RandomHanzi(3));
    Owned unrelated(RandomHanzi(40));  // moves the generator a long way
    seedOffset = 1000;
    Owned b(RandomHanzi(3));
    EXPECT_EQ(a.str(), b.str());
}

TEST_F(RandomHanziTest, BytesStayInTheHanziRows) {
    for (uint32_t t = 0; t < 2000; t += 7) {
        ticks.now = t;
        Owned text(RandomHanzi(3));
        const auto* p = reinterpret_cast<const unsigned char*>(text.text);
        for (int i = 0; i < 6; i += 2) {
            EXPECT_GE(p[i], 0xB0);
            EXPECT_LE(p[i], 0xF7);
            EXPECT_GE(p[i + 1], 0xA1);
            EXPECT_LE(p[i + 1], 0xFE);
        }
    }
}

}  // namespace
