// Fuzzes the text operations that make, compare and give back texts: their
// results against plain byte-string references, and who owns what. A counting
// heap is installed for the whole run; it aborts on a double free or on the
// freeing of a block it never handed out, and after every input each text the
// operations gave out must have been given back exactly once.
//
// Input layout:
//   byte 0          control: operand count (control & 0x0F, at most 12), and
//                   bit 7 = also run the out-of-memory checks
//   per operand     a selector byte; selector % 4:
//                     0  no text
//                     1  the empty text ""
//                     2  raw bytes: one length byte, then that many bytes (the
//                        text is the part before the first zero byte; the whole
//                        run, zeros and all, goes to BytesToText)
//                     3  a constant: one byte picks a member of the literal
//                        block
//   the rest        more raw bytes for BytesToText
// The first 8 bytes, when there are 8, are also read as a double for
// RealToInt64.
#include <array>
#include <cmath>
#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/fuzz/fuzz_support.h"
#include "text/text.h"
#include "text/text_heap.h"

// The members of the literal block (fuzz_constants.cpp, built with it). The
// fuzzer does not include literals.h: see fuzz_constants.cpp.
const char* const* FuzzConstants(size_t* count);
bool IsConstantText(Text t);

namespace {

[[noreturn]] void Fail(const char* format, ...) __attribute__((format(printf, 1, 2)));

[[noreturn]] void Fail(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    std::fputc('\n', stderr);
    std::abort();
}

// ---- the counting heap ----------------------------------------------------

struct CountingHeap final : TextHeap {
    std::map<const void*, size_t> live;  // block -> bytes asked for
    size_t allocations = 0;              // calls of Allocate, failed ones too
    size_t frees = 0;
    bool failNext = false;               // the next Allocate runs out of memory

    void* Allocate(size_t bytes) override {
        ++allocations;
        if (failNext) {
            failNext = false;
            return nullptr;
        }
        void* block = std::malloc(bytes ? bytes : 1);
        if (!block) Fail("the fuzzer itself ran out of memory");
        live[block] = bytes;
        return block;
    }
    void Free(void* block) override {
        ++frees;
        auto it = live.find(block);
        if (it == live.end()) Fail("Free of %p: a block freed twice or never allocated here", block);
        live.erase(it);
        std::free(block);
    }
};

CountingHeap heap;

struct OutOfMemory {
    size_t bytesAsked;
};

void ThrowOnOutOfMemory(size_t bytesAsked) { throw OutOfMemory{bytesAsked}; }

// ---- the constants --------------------------------------------------------

struct Constants {
    const char* const* members;
    size_t count;
};
const Constants kConstants = [] {
    Constants c;
    c.members = FuzzConstants(&c.count);
    return c;
}();

// ---- operands -------------------------------------------------------------

// A text the fuzzer made itself (never one of the module's blocks), with the
// raw bytes it came from.
struct Operand {
    Text text = nullptr;
    std::string bytes;  // the text's bytes; "" for no text
    std::string raw;    // the input bytes, zeros included (selector 2 only)
};

// Exactly sized storage so that ASan sees any read past the end.
struct Storage {
    std::vector<std::unique_ptr<unsigned char[]>> blocks;
    const unsigned char* Hold(const std::string& bytes, bool terminate) {
        size_t n = bytes.size() + (terminate ? 1 : 0);
        blocks.emplace_back(new unsigned char[n ? n : 1]);
        unsigned char* p = blocks.back().get();
        std::memcpy(p, bytes.data(), bytes.size());
        if (terminate) p[bytes.size()] = 0;
        return p;
    }
};

struct Reader {
    const uint8_t* p;
    size_t left;
    bool Next(uint8_t& b) {
        if (!left) return false;
        b = *p++;
        --left;
        return true;
    }
};

// ---- the references -------------------------------------------------------

int ReferenceCompare(const std::string& a, const std::string& b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    int c = std::memcmp(a.data(), b.data(), n);  // memcmp compares as unsigned char
    if (c) return c < 0 ? -1 : 1;
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

// BytesToText's result for bytes[0..count): nullptr stands for no text.
bool ReferenceBytesToText(const unsigned char* bytes, int32_t count, std::string& text) {
    if (!bytes || count <= 0) return false;
    size_t n = 0;
    while (n < static_cast<size_t>(count) && bytes[n]) ++n;
    if (n == 0) return false;
    text.assign(reinterpret_cast<const char*>(bytes), n);
    return true;
}

int64_t ReferenceRealToInt64(double x) {
    if (std::isnan(x) || x < -9223372036854775808.0 || x >= 9223372036854775808.0) return INT64_MIN;
    // long double holds every int64 exactly, so the truncated value converts
    // without rounding.
    long double t = std::truncl(static_cast<long double>(x));
    return static_cast<int64_t>(t);
}

// ---- checks on what the module hands out -----------------------------------

// Texts received from the module in this input, released at its end.
std::vector<Text> received;

// A text the module handed out as a new allocation: it must be a live block
// of exactly its length plus the NUL, holding `expected`.
void CheckNewText(const char* op, Text t, const std::string& expected) {
    if (!t) Fail("%s gave no text, expected [%s]", op, Hex(expected).c_str());
    received.push_back(t);
    auto it = heap.live.find(t);
    if (it == heap.live.end()) Fail("%s gave %p, which is not a block of the text heap", op, (const void*)t);
    if (it->second != expected.size() + 1)
        Fail("%s allocated %zu bytes for a text of %zu", op, it->second, expected.size());
    std::string got(t);
    if (got != expected) Fail("%s gave [%s], expected [%s]", op, Hex(got).c_str(), Hex(expected).c_str());
    if (TextLength(t) != static_cast<int32_t>(expected.size()))
        Fail("TextLength of %s's result is %d, expected %zu", op, TextLength(t), expected.size());
}

void CheckAllocations(const char* op, size_t before, size_t expected) {
    if (heap.allocations - before != expected)
        Fail("%s made %zu allocations, expected %zu", op, heap.allocations - before, expected);
}

// JoinTexts takes an initializer_list, so each operand count needs its own call.
template <size_t... I>
Text JoinAt(const Text* parts, std::index_sequence<I...>) {
    return JoinTexts({parts[I]...});
}
template <size_t N>
Text JoinN(const Text* parts) {
    return JoinAt(parts, std::make_index_sequence<N>());
}
template <size_t... N>
constexpr auto MakeJoinTable(std::index_sequence<N...>) {
    return std::array<Text (*)(const Text*), sizeof...(N)>{&JoinN<N>...};
}
constexpr size_t kMaxOperands = 12;  // past the eight lengths JoinTexts keeps on its stack
const auto kJoin = MakeJoinTable(std::make_index_sequence<kMaxOperands + 1>());

void CheckJoin(const char* op, const std::vector<Operand>& operands) {
    std::vector<Text> parts;
    std::string expected;
    for (const Operand& o : operands) {
        parts.push_back(o.text);
        expected += o.bytes;
    }
    size_t before = heap.allocations;
    Text joined = kJoin[parts.size()](parts.data());
    CheckAllocations(op, before, 1);
    for (Text part : parts)
        if (part && joined == part) Fail("%s gave back one of its operands", op);
    CheckNewText(op, joined, expected);
    for (const Operand& o : operands) {
        // The join compares with each operand as their bytes do.
        int c = CompareTexts(joined, o.text);
        int want = ReferenceCompare(expected, o.bytes);
        if (c != want) Fail("CompareTexts(%s result, operand) = %d, expected %d", op, c, want);
    }
}

void CheckCompare(const std::vector<Operand>& operands) {
    for (const Operand& a : operands) {
        for (const Operand& b : operands) {
            int ab = CompareTexts(a.text, b.text);
            int ba = CompareTexts(b.text, a.text);
            int want = ReferenceCompare(a.bytes, b.bytes);
            if (ab != want)
                Fail("CompareTexts([%s]%s, [%s]%s) = %d, expected %d", Hex(a.bytes).c_str(),
                     a.text ? "" : " (no text)", Hex(b.bytes).c_str(), b.text ? "" : " (no text)", ab, want);
            if (ba != -ab) Fail("CompareTexts is not antisymmetric: %d one way, %d the other", ab, ba);
        }
    }
}

void CheckCopy(const std::vector<Operand>& operands) {
    for (const Operand& o : operands) {
        size_t before = heap.allocations;
        Text copy = CopyText(o.text);
        if (!o.text) {
            if (copy) Fail("CopyText(no text) gave %p", (const void*)copy);
            CheckAllocations("CopyText(no text)", before, 0);
            continue;
        }
        CheckAllocations("CopyText", before, 1);
        if (copy == o.text) Fail("CopyText gave back its operand");
        CheckNewText("CopyText", copy, o.bytes);
        if (CompareTexts(copy, o.text) != 0 || CompareTexts(o.text, copy) != 0)
            Fail("a copy does not compare equal to its original [%s]", Hex(o.bytes).c_str());
    }
}

void CheckBytesToTextAt(const unsigned char* bytes, int32_t count, const std::string& shown) {
    std::string expected;
    bool some = ReferenceBytesToText(bytes, count, expected);
    size_t before = heap.allocations;
    Text t = BytesToText(bytes, count);
    if (!some) {
        if (t) Fail("BytesToText(%s[%s], %d) gave a text, expected none", bytes ? "" : "nullptr ",
                    Hex(shown).c_str(), count);
        CheckAllocations("BytesToText (no text)", before, 0);
        return;
    }
    CheckAllocations("BytesToText", before, 1);
    char op[64];
    std::snprintf(op, sizeof op, "BytesToText(count %d)", count);
    CheckNewText(op, t, expected);
}

void CheckBytesToText(Storage& storage, const std::string& raw) {
    // No terminating zero after the array: BytesToText must not look past count.
    const unsigned char* bytes = storage.Hold(raw, false);
    int32_t size = static_cast<int32_t>(raw.size());
    const int32_t counts[] = {size, size - 1, size / 2, 1, 0, -1, INT32_MIN};
    for (int32_t count : counts) {
        if (count > size) continue;  // would read past the array
        CheckBytesToTextAt(bytes, count, raw);
    }
    CheckBytesToTextAt(nullptr, size, raw);
    CheckBytesToTextAt(nullptr, 1, raw);
}

// Each allocating operation, when the heap runs out, must call the handler with
// the bytes it asked for and leave nothing allocated behind.
template <typename Op>
void CheckOutOfMemory(const char* op, size_t bytesExpected, Op run) {
    size_t liveBefore = heap.live.size();
    size_t before = heap.allocations;
    heap.failNext = true;
    bool handled = false;
    try {
        Text t = run();
        received.push_back(t);
    } catch (const OutOfMemory& oom) {
        handled = true;
        if (oom.bytesAsked != bytesExpected)
            Fail("%s out of memory: handler told %zu bytes, expected %zu", op, oom.bytesAsked, bytesExpected);
    }
    heap.failNext = false;
    if (!handled) Fail("%s returned although its allocation failed", op);
    CheckAllocations(op, before, 1);
    if (heap.live.size() != liveBefore) Fail("%s left a block behind after running out of memory", op);
}

void CheckOutOfMemoryAll(const std::vector<Operand>& operands, const std::vector<std::string>& raws) {
    std::vector<Text> parts;
    size_t total = 0;
    for (const Operand& o : operands) {
        parts.push_back(o.text);
        total += o.bytes.size();
    }
    CheckOutOfMemory("JoinTexts", total + 1, [&] { return kJoin[parts.size()](parts.data()); });
    for (const Operand& o : operands)
        if (o.text) CheckOutOfMemory("CopyText", o.bytes.size() + 1, [&] { return CopyText(o.text); });
    for (const std::string& raw : raws) {
        std::string expected;
        auto bytes = reinterpret_cast<const unsigned char*>(raw.data());
        auto count = static_cast<int32_t>(raw.size());
        if (ReferenceBytesToText(bytes, count, expected))
            CheckOutOfMemory("BytesToText", expected.size() + 1, [&] { return BytesToText(bytes, count); });
    }
}

// Giving back no text or a constant must never reach the heap.
void CheckReleaseOfConstants() {
    size_t allocations = heap.allocations, frees = heap.frees;
    ReleaseText(nullptr);
    for (size_t i = 0; i < kConstants.count; ++i) ReleaseText(kConstants.members[i]);
    if (heap.allocations != allocations || heap.frees != frees)
        Fail("releasing no text or a constant reached the heap");
}

void CheckRealToInt64(double x) {
    int64_t got = RealToInt64(x);
    int64_t want = ReferenceRealToInt64(x);
    if (got != want) Fail("RealToInt64(%a) = %lld, expected %lld", x, (long long)got, (long long)want);
}

void CheckOnce() {
    if (CompareTexts(nullptr, "") != 0 || CompareTexts("", nullptr) != 0 || CompareTexts(nullptr, nullptr) != 0)
        Fail("no text and the empty text do not compare equal");
    if (TextLength(nullptr) != 0) Fail("TextLength(no text) = %d", TextLength(nullptr));
    const double two63 = 9223372036854775808.0;
    const double edges[] = {
        0.0, -0.0, 0.5, -0.5, 0.9999999999999999, -1.5, two63, -two63, std::nextafter(two63, 0.0),
        std::nextafter(-two63, -INFINITY), std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN(),
        std::numeric_limits<double>::denorm_min(), 4503599627370495.5, -4503599627370495.5,
    };
    for (double x : edges) CheckRealToInt64(x);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    UseTextHeap(&heap);
    SetOutOfMemoryHandler(ThrowOnOutOfMemory);
    for (size_t i = 0; i < kConstants.count; ++i)
        if (!IsConstantText(kConstants.members[i])) Fail("constant %zu is not in the literal block", i);
    CheckOnce();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size >= 8) {
        double x;
        std::memcpy(&x, data, sizeof x);
        CheckRealToInt64(x);
    }

    Reader in{data, size};
    uint8_t control = 0;
    in.Next(control);
    size_t count = control & 0x0F;
    if (count > kMaxOperands) count = kMaxOperands;
    bool outOfMemoryChecks = (control & 0x80) != 0;

    Storage storage;
    std::vector<Operand> operands;
    std::vector<std::string> raws;
    for (size_t i = 0; i < count; ++i) {
        Operand o;
        uint8_t selector = 0, arg = 0;
        in.Next(selector);
        switch (selector % 4) {
            case 0:
                break;
            case 1:
                o.text = reinterpret_cast<Text>(storage.Hold("", true));
                break;
            case 2: {
                in.Next(arg);
                size_t n = arg < in.left ? arg : in.left;
                o.raw.assign(reinterpret_cast<const char*>(in.p), n);
                in.p += n;
                in.left -= n;
                o.bytes = o.raw.substr(0, o.raw.find('\0'));
                o.text = reinterpret_cast<Text>(storage.Hold(o.bytes, true));
                raws.push_back(o.raw);
                break;
            }
            case 3:
                in.Next(arg);
                o.text = kConstants.members[arg % kConstants.count];
                o.bytes = o.text;
                break;
        }
        if (TextLength(o.text) != static_cast<int32_t>(o.bytes.size()))
            Fail("TextLength([%s]) = %d", Hex(o.bytes).c_str(), TextLength(o.text));
        operands.push_back(std::move(o));
    }
    raws.emplace_back(reinterpret_cast<const char*>(in.p), in.left);

    CheckReleaseOfConstants();
    CheckJoin("JoinTexts", operands);
    std::vector<Operand> reversed(operands.rbegin(), operands.rend());
    CheckJoin("JoinTexts (operands reversed)", reversed);
    CheckCompare(operands);
    CheckCopy(operands);
    for (const std::string& raw : raws) CheckBytesToText(storage, raw);
    if (outOfMemoryChecks) CheckOutOfMemoryAll(operands, raws);
    CheckReleaseOfConstants();

    // Give back everything received, each once, then nothing may be left.
    size_t freesBefore = heap.frees;
    size_t allocated = 0;
    for (Text t : received) {
        if (t) ++allocated;
        ReleaseText(t);
    }
    received.clear();
    if (heap.frees - freesBefore != allocated)
        Fail("releasing %zu texts freed %zu blocks", allocated, heap.frees - freesBefore);
    if (!heap.live.empty())
        Fail("%zu blocks still live after every text was released", heap.live.size());
    return 0;
}
