#include <gtest/gtest.h>

#include <cstring>

#include "engine/line_buffer.h"
#include "test_support.h"

namespace {

class LineBufferTest : public TextHeapTest {
protected:
    unsigned char buffer[kLineBufferSize];
};

TEST_F(LineBufferTest, PreparedBufferIsZeroedWithCapacityWord) {
    std::memset(buffer, 0xAA, sizeof buffer);
    PrepareLineBuffer(buffer);
    uint16_t capacity;
    std::memcpy(&capacity, buffer, 2);
    EXPECT_EQ(capacity, 8187);
    for (size_t i = 2; i < kLineBufferSize; ++i) ASSERT_EQ(buffer[i], 0) << i;
}

TEST_F(LineBufferTest, EmptyLineDoesNotLeakTheCapacityWord) {
    PrepareLineBuffer(buffer);
    Owned line(TextFromLineBuffer(buffer, 0));  // the box copied nothing
    ASSERT_NE(line.text, nullptr);
    EXPECT_EQ(TextLength(line.text), 0);
}

TEST_F(LineBufferTest, LineIsTakenAsTheBoxWroteIt) {
    PrepareLineBuffer(buffer);
    const char line[] = "你好 abc\r";  // the paragraph mark stays: the box gave it
    std::memcpy(buffer, line, sizeof line - 1);
    Owned text(TextFromLineBuffer(buffer, sizeof line - 1));
    EXPECT_EQ(text.str(), line);
}

TEST_F(LineBufferTest, CopiedCountIsCappedAtCapacity) {
    PrepareLineBuffer(buffer);
    std::memset(buffer, 'x', kLineBufferSize);  // a box that ignored the capacity
    Owned text(TextFromLineBuffer(buffer, 100000));
    EXPECT_EQ(TextLength(text.text), 8187);
}

}  // namespace
