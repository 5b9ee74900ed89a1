// Fuzzes TextToInt against a plain reference that does the two steps one
// after the other: build the folded byte string, then parse it as bytes.
//
// The input is a text: its bytes up to the first zero byte (or all of them).
// Besides the reference, one metamorphic check: writing the text's printable
// ASCII in full-width form (A3 xx, and A1 A1 for a space) must not change the
// number.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/fuzz/fuzz_support.h"
#include "text/text.h"

namespace {

// Step one: full-width forms become their ASCII twins; other pairs stay.
std::string ReferenceFold(const std::string& text) {
    std::string folded;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            folded += static_cast<char>(lead);
            i += 1;
            continue;
        }
        if (i + 1 >= text.size()) break;  // a lone lead byte before the NUL is dropped
        unsigned char trail = static_cast<unsigned char>(text[i + 1]);
        if (lead == 0xA1 && trail == 0xA1) {
            folded += ' ';
        } else if (lead == 0xA1 && trail == 0xAB) {
            folded += '~';
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            folded += '*';
        } else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            folded += static_cast<char>(trail - 0x80);
        } else {
            folded += static_cast<char>(lead);
            folded += static_cast<char>(trail);
        }
        i += 2;
    }
    return folded;
}

// Step two: blanks, one sign, decimal digits modulo 2^32.
int32_t ReferenceParse(const std::string& folded) {
    size_t i = 0;
    auto at = [&](size_t k) { return k < folded.size() ? static_cast<unsigned char>(folded[k]) : 0; };
    while (at(i) == 0x20 || (at(i) >= 0x09 && at(i) <= 0x0D)) ++i;
    bool negative = false;
    if (at(i) == '+' || at(i) == '-') {
        negative = at(i) == '-';
        ++i;
    }
    uint32_t value = 0;
    while (at(i) >= '0' && at(i) <= '9') {
        value = value * 10u + static_cast<uint32_t>(at(i) - '0');
        ++i;
    }
    if (negative) value = 0u - value;
    int32_t result;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

// The same text with every printable ASCII byte and space written full-width.
// Only bytes outside any pair are widened, so the pairs stay as they were.
std::string Widen(const std::string& text) {
    std::string wide;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            wide.append(text, i, 2);  // a pair, or a lone lead byte at the end
            i += 2;
            continue;
        }
        if (c == ' ') {
            wide += "\xA1\xA1";
        } else if (c >= 0x21 && c <= 0x7E) {
            wide += '\xA3';
            wide += static_cast<char>(c + 0x80);
        } else {
            wide += static_cast<char>(c);
        }
        i += 1;
    }
    return wide;
}

// Runs TextToInt on an exactly sized copy, so that a read past the NUL is
// caught by ASan.
int32_t Run(const std::string& text) {
    char* exact = new char[text.size() + 1];
    std::memcpy(exact, text.data(), text.size());
    exact[text.size()] = '\0';
    int32_t got = TextToInt(exact);
    delete[] exact;
    return got;
}

[[noreturn]] void Fail(const char* what, const std::string& text, int32_t expected, int32_t actual) {
    std::fprintf(stderr, "TextToInt %s: input [%s] folded [%s] expected %d, got %d\n", what,
                 Hex(text).c_str(), Hex(ReferenceFold(text)).c_str(), expected, actual);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool nullChecked = [] {
        if (TextToInt(nullptr) != 0) Fail("of no text", "", 0, TextToInt(nullptr));
        return true;
    }();
    (void)nullChecked;

    const void* zero = std::memchr(data, 0, size);
    size_t n = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - data) : size;
    std::string text(reinterpret_cast<const char*>(data), n);

    int32_t expected = ReferenceParse(ReferenceFold(text));
    int32_t actual = Run(text);
    if (actual != expected) Fail("differs from the reference", text, expected, actual);

    std::string wide = Widen(text);
    int32_t wideActual = Run(wide);
    if (wideActual != expected) Fail("changes when written full-width", wide, expected, wideActual);
    return 0;
}
