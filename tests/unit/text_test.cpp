#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "test_support.h"
#include "text/literals.h"

namespace {

class TextTest : public TextHeapTest {};

TEST_F(TextTest, LengthCountsBytesNotCharacters) {
    EXPECT_EQ(TextLength(nullptr), 0);
    EXPECT_EQ(TextLength(""), 0);
    EXPECT_EQ(TextLength(kLiterals.hotkeyF1), 4);  // "F1键": 键 is two GBK bytes
    EXPECT_EQ(Hex(kLiterals.hotkeyF1), "46 31 BC FC");
}

TEST_F(TextTest, JoinConcatenatesAndNeverGivesNoText) {
    Owned a(JoinTexts({"开始(", nullptr, ")"}));
    Owned b(JoinTexts({"开始(", ")"}));
    EXPECT_EQ(CompareTexts(a.text, b.text), 0);
    EXPECT_EQ(a.str(), "开始()");

    Owned empty(JoinTexts({nullptr, nullptr}));
    ASSERT_NE(empty.text, nullptr);
    EXPECT_EQ(empty.text[0], '\0');
    EXPECT_EQ(CompareTexts(empty.text, nullptr), 0);

    Owned three(JoinTexts({"ab", "", "c"}));
    EXPECT_EQ(three.str(), "abc");
}

TEST_F(TextTest, JoinOfManyPartsKeepsOrder) {
    Owned many(JoinTexts({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(many.str(), "12345678910");
}

TEST_F(TextTest, JoinMakesExactlyOneAllocation) {
    size_t before = heap.live.size();
    Owned joined(JoinTexts({"a", "b", "c"}));
    EXPECT_EQ(heap.live.size(), before + 1);
}

struct CompareCase {
    Text a;
    Text b;
    int expected;
};

TEST_F(TextTest, CompareOrdersByUnsignedBytes) {
    const char empty[] = "";
    const CompareCase cases[] = {
        {nullptr, empty, 0},  {nullptr, nullptr, 0}, {empty, nullptr, 0}, {nullptr, "a", -1},
        {"a", nullptr, 1},    {"abc", "abd", -1},    {"ab", "abc", -1},   {"abc", "ab", 1},
        {"\xB0\xA1", "z", 1}, {"z", "\xB0", -1},     {"开始(F1键)", "开始(F1键)", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CompareTexts(c.a, c.b), c.expected) << Hex(c.a) << " vs " << Hex(c.b);
}

TEST_F(TextTest, CopyKeepsBytesAndFormOfEmpty) {
    EXPECT_EQ(CopyText(nullptr), nullptr);
    Owned empty(CopyText(""));
    ASSERT_NE(empty.text, nullptr);
    EXPECT_EQ(empty.text[0], '\0');
    Owned copy(CopyText(kLiterals.windowTitle));
    EXPECT_NE(copy.text, kLiterals.windowTitle);
    EXPECT_EQ(CompareTexts(copy.text, kLiterals.windowTitle), 0);
}

TEST_F(TextTest, ReleasingNoTextOrConstantsIsHarmless) {
    for (int i = 0; i < 3; ++i) {
        ReleaseText(nullptr);
        ReleaseText(kLiterals.hotkeyF1);
        ReleaseText(kLiterals.hotkeyAltZ);
        ReleaseText(kLiterals.browserFile);  // the last literal of the block
    }
    EXPECT_TRUE(IsConstantText(kLiterals.stoppedPrefix));
    Owned copy(CopyText(kLiterals.hotkeyF1));
    EXPECT_FALSE(IsConstantText(copy.text));
}

struct IntCase {
    const char* text;
    int32_t expected;
};

TEST_F(TextTest, TextToIntReadsLeadingDecimalNumber) {
    const IntCase cases[] = {
        {"", 0},
        {"5", 5},
        {"  12", 12},
        {"\t7", 7},
        {"\n\v\f\r 8", 8},
        {"+7", 7},
        {"-3", -3},
        {"007", 7},
        {"1.5", 1},
        {"2秒", 2},
        {"12abc", 12},
        {"3 4", 3},
        {"1e3", 1},
        {"0x1A", 0},
        {"abc", 0},
        {"- 5", 0},
        {"--5", 0},
        {"１２", 12},
        {"－１２", -12},
        {"＋７", 7},
        {"　３", 3},
        {"３．５", 3},
        {"～5", 0},  // folds to "~", which is no digit
        {"☆5", 0},
        {"2147483647", 2147483647},
        {"2147483648", INT32_MIN},
        {"4294967295", -1},
        {"4294967296", 0},
        {"-2147483649", 2147483647},
        {"\xA3", 0},     // lone lead byte: folding ends
        {"5\xB0", 5},    // lone lead byte after the digits
        {"\xB0\xA1" "5", 0},  // a Chinese character before the digits
        {"\xA3\x30", 0},  // 0xA3 with a trail outside the full-width row
    };
    for (const auto& c : cases) EXPECT_EQ(TextToInt(c.text), c.expected) << "\"" << c.text << "\"";
    EXPECT_EQ(TextToInt(nullptr), 0);
}

TEST_F(TextTest, TextToIntWrapsModulo2To32) {
    // 10^20 mod 2^32 = 1661992960
    EXPECT_EQ(TextToInt("100000000000000000000"), 1661992960);
    // 10^100 is a multiple of 2^32, so a hundred nines wrap to -1.
    EXPECT_EQ(TextToInt(std::string(100, '9').c_str()), -1);
}

TEST_F(TextTest, BytesToTextStopsAtFirstZero) {
    const unsigned char hanzi[] = {0xB0, 0xA1};
    Owned a(BytesToText(hanzi, 2));
    EXPECT_EQ(Hex(a.text), "B0 A1");

    const unsigned char withZero[] = {0x41, 0x00, 0x42};
    Owned b(BytesToText(withZero, 3));
    EXPECT_EQ(b.str(), "A");

    const unsigned char leadingZero[] = {0x00, 0x41};
    EXPECT_EQ(BytesToText(leadingZero, 2), nullptr);
    EXPECT_EQ(BytesToText(hanzi, 0), nullptr);
    EXPECT_EQ(BytesToText(nullptr, 5), nullptr);

    const unsigned char notGbk[] = {0xFF, 0x80};
    Owned c(BytesToText(notGbk, 2));
    EXPECT_EQ(Hex(c.text), "FF 80");
}

TEST_F(TextTest, RealToInt64TruncatesTowardZero) {
    EXPECT_EQ(RealToInt64(2.9), 2);
    EXPECT_EQ(RealToInt64(-2.9), -2);
    EXPECT_EQ(RealToInt64(5 * 1000.0), 5000);
    EXPECT_EQ(RealToInt64(2147483648.0 * 1000.0), 2147483648000LL);
    EXPECT_EQ(RealToInt64(-9223372036854775808.0), INT64_MIN);
    EXPECT_EQ(RealToInt64(1e300), INT64_MIN);
    EXPECT_EQ(RealToInt64(-1e300), INT64_MIN);
    EXPECT_EQ(RealToInt64(std::nan("")), INT64_MIN);
}

struct OutOfMemory : std::runtime_error {
    explicit OutOfMemory(size_t n) : std::runtime_error("oom"), bytes(n) {}
    size_t bytes;
};

void ThrowOutOfMemory(size_t bytes) { throw OutOfMemory(bytes); }

TEST_F(TextTest, FailedAllocationGoesToTheHandlerWithTheSize) {
    SetOutOfMemoryHandler(ThrowOutOfMemory);
    heap.failNext = true;
    try {
        JoinTexts({"abc", "de"});
        ADD_FAILURE() << "no out-of-memory call";
    } catch (const OutOfMemory& e) {
        EXPECT_EQ(e.bytes, 6u);
    }
    SetOutOfMemoryHandler(nullptr);
}

TEST(TextDeathTest, HandlerThatReturnsStillStopsTheProgram) {
    CountingHeap heap;
    UseTextHeap(&heap);
    SetOutOfMemoryHandler([](size_t) {});
    heap.failNext = true;
    EXPECT_DEATH(CopyText("x"), "");
    SetOutOfMemoryHandler(nullptr);
    UseTextHeap(nullptr);
}

}  // namespace
