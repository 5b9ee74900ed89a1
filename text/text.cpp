#include "text/text.h"

#include <cstring>

#include "text/literals.h"
#include "text/text_heap.h"

void FreeTextBytes(void* block);  // text_heap.cpp

int32_t TextLength(Text t) { return t ? static_cast<int32_t>(std::strlen(t)) : 0; }

Text JoinTexts(std::initializer_list<Text> parts) {
    // Each operand is measured once; the lengths wait on the stack for the
    // copy. The program joins two or three texts; past kMeasured operands a
    // length is simply measured again.
    constexpr size_t kMeasured = 8;
    size_t lengths[kMeasured];
    size_t total = 0;
    size_t i = 0;
    for (Text part : parts) {
        size_t n = static_cast<size_t>(TextLength(part));
        if (i < kMeasured) lengths[i] = n;
        total += n;
        ++i;
    }
    char* joined = AllocateTextBytes(total + 1);
    char* out = joined;
    i = 0;
    for (Text part : parts) {
        size_t n = i < kMeasured ? lengths[i] : static_cast<size_t>(TextLength(part));
        if (n) std::memcpy(out, part, n);
        out += n;
        ++i;
    }
    *out = '\0';
    return joined;
}

int CompareTexts(Text a, Text b) {
    if (!a) a = "";
    if (!b) b = "";
    const auto* x = reinterpret_cast<const unsigned char*>(a);
    const auto* y = reinterpret_cast<const unsigned char*>(b);
    while (*x && *x == *y) {
        ++x;
        ++y;
    }
    if (*x == *y) return 0;
    return *x < *y ? -1 : 1;
}

Text CopyText(Text t) {
    if (!t) return nullptr;
    size_t n = std::strlen(t);
    char* copy = AllocateTextBytes(n + 1);
    std::memcpy(copy, t, n + 1);
    return copy;
}

void ReleaseText(Text t) {
    if (!t || IsConstantText(t)) return;
    FreeTextBytes(const_cast<char*>(t));
}

namespace {

// Full-width forms that the interval box accepts as their ASCII twins.
// Returns 0 when the pair is not one of them.
unsigned char FoldFullWidth(unsigned char lead, unsigned char trail) {
    if (lead == 0xA1) {
        if (trail == 0xA1) return ' ';
        if (trail == 0xAB) return '~';
        if (trail == 0xEE || trail == 0xEF) return '*';
        return 0;
    }
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<unsigned char>(trail - 0x80);
    return 0;
}

// Walks the folded form of a text one character at a time without building
// it: an ASCII byte stands for itself, a folded pair for its ASCII twin and any
// other pair for a non-ASCII character (reported as 0x80, which no rule below
// accepts). A lone lead byte before the NUL ends the text.
struct FoldedReader {
    const unsigned char* p;

    // The next folded character, or 0 at the end.
    unsigned char Peek() const {
        if (p[0] < 0x80) return p[0];
        if (p[1] == 0) return 0;
        unsigned char folded = FoldFullWidth(p[0], p[1]);
        return folded ? folded : 0x80;
    }
    void Skip() { p += p[0] < 0x80 ? 1 : 2; }
};

bool IsBlank(unsigned char c) { return c == ' ' || (c >= 0x09 && c <= 0x0D); }

}  // namespace

int32_t TextToInt(Text t) {
    FoldedReader in{reinterpret_cast<const unsigned char*>(t ? t : "")};
    while (IsBlank(in.Peek())) in.Skip();
    bool negative = false;
    if (in.Peek() == '+' || in.Peek() == '-') {
        negative = in.Peek() == '-';
        in.Skip();
    }
    uint32_t value = 0;
    for (unsigned char c = in.Peek(); c >= '0' && c <= '9'; c = in.Peek()) {
        value = value * 10u + static_cast<uint32_t>(c - '0');
        in.Skip();
    }
    if (negative) value = 0u - value;
    int32_t result;
    std::memcpy(&result, &value, sizeof result);  // the 32-bit pattern, read as signed
    return result;
}

Text BytesToText(const unsigned char* bytes, int32_t count) {
    if (!bytes || count <= 0) return nullptr;
    const void* zero = std::memchr(bytes, 0, static_cast<size_t>(count));
    size_t n = zero ? static_cast<size_t>(static_cast<const unsigned char*>(zero) - bytes)
                    : static_cast<size_t>(count);
    if (n == 0) return nullptr;
    char* text = AllocateTextBytes(n + 1);
    std::memcpy(text, bytes, n);
    text[n] = '\0';
    return text;
}

int64_t RealToInt64(double x) {
    // -2^63 and 2^63 are exact doubles; NaN fails both comparisons.
    if (!(x >= -9223372036854775808.0 && x < 9223372036854775808.0)) return INT64_MIN;
    return static_cast<int64_t>(x);  // the conversion truncates toward zero
}
