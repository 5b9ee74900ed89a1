#pragma once
// Shared helpers for the unit tests: a heap that counts live texts, so every
// test can check that what it was handed was released exactly once.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "text/text.h"
#include "text/text_heap.h"

class CountingHeap final : public TextHeap {
public:
    void* Allocate(size_t bytes) override {
        if (failNext) {
            failNext = false;
            return nullptr;
        }
        void* block = std::malloc(bytes);
        live.insert(block);
        return block;
    }
    void Free(void* block) override {
        EXPECT_EQ(live.erase(block), 1u) << "released a text that is not live";
        std::free(block);
    }
    std::set<void*> live;
    bool failNext = false;
};

// Installs a CountingHeap for the test and fails it if a text leaked.
class TextHeapTest : public ::testing::Test {
protected:
    void SetUp() override { UseTextHeap(&heap); }
    void TearDown() override {
        EXPECT_TRUE(heap.live.empty()) << heap.live.size() << " text(s) never released";
        UseTextHeap(nullptr);
    }
    CountingHeap heap;
};

// "D9 CC F6" for a text's bytes; "<none>" for no text.
inline std::string Hex(Text t) {
    if (!t) return "<none>";
    std::string out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(t); *p; ++p) {
        char b[4];
        std::snprintf(b, sizeof b, out.empty() ? "%02X" : " %02X", *p);
        out += b;
    }
    return out;
}

// Takes ownership of a text for a test's scope.
struct Owned {
    explicit Owned(Text t) : text(t) {}
    ~Owned() { ReleaseText(text); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    std::string str() const { return text ? text : ""; }
    Text text;
};
