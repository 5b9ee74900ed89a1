#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/random_hanzi.h"
#include "engine/send_cycle.h"
#include "test_support.h"

namespace {

// A text box, two check boxes, a clipboard and a keyboard that write down
// every call in order.
class RecordingPort final : public SendPort {
public:
    std::vector<std::string> lines{""};
    bool check1 = false, check2 = false;
    bool clipboardAvailable = true;
    std::vector<std::string> calls;
    std::vector<std::string> sent;  // what the clipboard held at each Enter
    std::string clipboard = "<previous>";
    std::function<void()> afterPaste;  // the user edits while a tick runs

    bool IsChecked(CheckBoxId box) override {
        calls.push_back(box == CheckBoxId::选择框1 ? "checked 1" : "checked 2");
        return box == CheckBoxId::选择框1 ? check1 : check2;
    }
    int32_t LineCount() override {
        calls.push_back("count");
        return static_cast<int32_t>(lines.size());
    }
    Text LineText(int32_t index) override {
        calls.push_back("line " + std::to_string(index));
        return CopyText(lines.at(static_cast<size_t>(index)).c_str());
    }
    bool PutOnClipboard(Text message) override {
        calls.push_back("clipboard " + std::string(message ? message : ""));
        if (clipboardAvailable) clipboard = message ? message : "";
        return clipboardAvailable;
    }
    void PressKeys(std::initializer_list<uint8_t> keys) override {
        std::string call = "keys";
        for (uint8_t k : keys) call += " " + std::to_string(k);
        calls.push_back(call);
        if (keys.size() == 1 && *keys.begin() == kVkReturn) sent.push_back(clipboard);
        if (keys.size() == 2 && afterPaste) afterPaste();
    }
    void Wait(uint32_t ms) override { calls.push_back("wait " + std::to_string(ms)); }
};

class SendCycleTest : public TextHeapTest {
protected:
    void SetUp() override {
        TextHeapTest::SetUp();
        lineCursor = 0;
    }
    // Runs `ticks` ticks and returns the messages that went out.
    std::vector<std::string> Run(int ticks) {
        for (int i = 0; i < ticks; ++i) OnSendTick(port);
        return port.sent;
    }
    RecordingPort port;
};

using Sent = std::vector<std::string>;

TEST_F(SendCycleTest, OneTickFollowsTheStepsInOrder) {
    port.lines = {"L0", "L1"};
    OnSendTick(port);
    const std::vector<std::string> expected = {
        "count",    "checked 2", "line 0", "clipboard L0", "wait 1",    "keys 17 86",
        "wait 1",   "keys 13",   "wait 1", "checked 1",    "count",
    };
    EXPECT_EQ(port.calls, expected);
    EXPECT_EQ(lineCursor, 1);
}

TEST_F(SendCycleTest, CtrlIsReleasedBeforeV) {
    const std::vector<KeyEvent> expected = {{17, false}, {86, false}, {17, true}, {86, true}};
    EXPECT_EQ(KeyEventsFor({kVkControl, kVkV}), expected);
    const std::vector<KeyEvent> enter = {{13, false}, {13, true}};
    EXPECT_EQ(KeyEventsFor({kVkReturn}), enter);
}

TEST_F(SendCycleTest, LinesCycleInOrder) {
    struct Case {
        std::vector<std::string> lines;
        int ticks;
        Sent expected;
    } cases[] = {
        {{"L0", "L1", "L2"}, 7, {"L0", "L1", "L2", "L0", "L1", "L2", "L0"}},
        {{"only"}, 3, {"only", "only", "only"}},
        {{""}, 2, {"", ""}},                     // an empty box has one empty line
        {{"a", "b", ""}, 4, {"a", "b", "", "a"}},  // text ending in a line break
        {{"你好\r", "世界"}, 3, {"你好\r", "世界", "你好\r"}},  // bytes exactly as the box gives them
    };
    for (auto& c : cases) {
        port = RecordingPort();
        port.lines = c.lines;
        lineCursor = 0;
        EXPECT_EQ(Run(c.ticks), c.expected) << c.lines.size() << " lines";
    }
}

TEST_F(SendCycleTest, TenThousandLinesWrapAfterTheLast) {
    port.lines.clear();
    for (int i = 0; i < 10000; ++i) port.lines.push_back("line " + std::to_string(i));
    Run(10002);
    ASSERT_EQ(port.sent.size(), 10002u);
    EXPECT_EQ(port.sent[5000], "line 5000");
    EXPECT_EQ(port.sent[9999], "line 9999");
    EXPECT_EQ(port.sent[10000], "line 0");
    EXPECT_EQ(port.sent[10001], "line 1");
}

TEST_F(SendCycleTest, SecondEnterComesRightAfterTheFirstWait) {
    port.lines = {"L0"};
    port.check1 = true;
    OnSendTick(port);
    const std::vector<std::string> tail(port.calls.end() - 6, port.calls.end());
    const std::vector<std::string> expected = {"keys 13", "wait 1", "checked 1", "keys 13", "count"};
    EXPECT_EQ(std::vector<std::string>(tail.begin() + 1, tail.end()), expected);
    EXPECT_EQ(port.sent, (Sent{"L0", "L0"}));
}

struct FixedTicks final : TickCounter {
    uint32_t TickCount() override { return 1; }
};

TEST_F(SendCycleTest, RandomSuffixFollowsTheLineDirectly) {
    FixedTicks ticks;
    UseTickCounter(&ticks);
    seedOffset = 0;
    port.lines = {"hi", ""};
    port.check2 = true;
    Run(2);
    UseTickCounter(nullptr);
    ASSERT_EQ(port.sent.size(), 2u);
    EXPECT_EQ(Hex(port.sent[0].c_str()), "68 69 D9 CC F6 F7 C1 BB");  // seed 1
    EXPECT_EQ(port.sent[1].size(), 6u);  // empty line: the suffix alone
}

TEST_F(SendCycleTest, OptionsChangedDuringARunApplyFromTheNextTick) {
    port.lines = {"a", "b"};
    Run(1);
    port.check1 = true;
    Run(1);
    EXPECT_EQ(port.sent, (Sent{"a", "b", "b"}));
}

TEST_F(SendCycleTest, EditsDuringARunAreFollowedAtOnce) {
    port.lines = {"a", "b"};
    Run(1);
    port.lines[1] = "b edited";
    port.lines.push_back("c added");
    EXPECT_EQ(Run(3), (Sent{"a", "b edited", "c added", "a"}));
}

TEST_F(SendCycleTest, LineAddedDuringATickJoinsThisPass) {
    port.lines = {"a", "b"};
    Run(1);
    port.afterPaste = [this] { port.lines.push_back("c"); port.afterPaste = nullptr; };
    EXPECT_EQ(Run(3), (Sent{"a", "b", "c", "a"}));
}

TEST_F(SendCycleTest, LinesRemovedDuringARunRestartThePass) {
    port.lines = {"a", "b", "c", "d"};
    Run(3);  // the cursor now points at "d"
    port.lines = {"x", "y"};
    EXPECT_EQ(Run(3), (Sent{"a", "b", "c", "x", "y", "x"}));
    for (const auto& call : port.calls) EXPECT_NE(call, "line 3") << "read past the end";
}

TEST_F(SendCycleTest, LinesRemovedDuringATickWrapAtTheEnd) {
    port.lines = {"a", "b", "c"};
    Run(1);
    port.afterPaste = [this] { port.lines = {"only"}; port.afterPaste = nullptr; };
    EXPECT_EQ(Run(2), (Sent{"a", "b", "only"}));
    EXPECT_EQ(lineCursor, 0);
}

TEST_F(SendCycleTest, CursorOutOfRangeStartsFromTheFirstLine) {
    port.lines = {"a", "b"};
    for (int32_t cursor : {-1, 2, INT32_MAX}) {
        port.sent.clear();
        lineCursor = cursor;
        EXPECT_EQ(Run(1), (Sent{"a"})) << cursor;
    }
}

TEST_F(SendCycleTest, ClipboardUnavailableSendsNothingAndKeepsTheLine) {
    port.lines = {"a", "b"};
    port.clipboardAvailable = false;
    Run(2);
    EXPECT_TRUE(port.sent.empty());
    for (const auto& call : port.calls) EXPECT_EQ(call.rfind("keys", 0), std::string::npos) << call;
    EXPECT_EQ(lineCursor, 0);
    port.clipboardAvailable = true;
    EXPECT_EQ(Run(2), (Sent{"a", "b"}));
}

}  // namespace
