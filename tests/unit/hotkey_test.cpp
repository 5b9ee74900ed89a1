#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/send_cycle.h"
#include "panel/hotkey.h"
#include "panel/program.h"
#include "test_support.h"
#include "text/literals.h"

namespace {

constexpr WindowRef kMain = 0x100, kLabel = 0x200;
constexpr WindowProcRef kOwnProc = 0xABC;

struct Ended : std::runtime_error {
    explicit Ended(int32_t c) : std::runtime_error("ended"), code(c) {}
    int32_t code;
};

// Records what EndProgram does instead of ending the test process.
struct EndRecorder final : ProgramPort {
    void EnterExecutableFolder() override {}
    void InitialiseCom() override {}
    bool LoadMainWindow() override { return true; }
    Text LoadFailure() override { return nullptr; }
    bool MainWindowExists() override { return true; }
    void RunMessageLoop() override {}
    void ShowErrorBox(Text) override {}
    void ReleaseResources() override {}
    [[noreturn]] void ExitProcess(int32_t code) override { throw Ended(code); }
};

class FakeHotkeys final : public HotkeyPort {
public:
    std::set<uint32_t> refusedKeys;  // vk codes another program holds
    std::vector<std::string> calls;
    std::vector<std::string> boxes;

    WindowRef MainWindowHandle() override { return kMain; }
    WindowRef Label1Handle() override { return kLabel; }
    bool RegisterHotKey(WindowRef w, int32_t id, uint32_t mods, uint32_t vk) override {
        calls.push_back("register " + std::to_string(w) + " " + std::to_string(id) + " " + std::to_string(mods) +
                        " " + std::to_string(vk));
        return !refusedKeys.count(vk);
    }
    WindowProcRef InstallHotkeyWindowProc(WindowRef w) override {
        calls.push_back("install " + std::to_string(w));
        return kOwnProc;
    }
    intptr_t CallProcedure(WindowProcRef proc, WindowRef, uint32_t msg, uintptr_t wp, intptr_t) override {
        calls.push_back("previous " + std::to_string(proc) + " " + std::to_string(msg) + " " + std::to_string(wp));
        return 7;
    }
    intptr_t SendToWindow(WindowRef w, uint32_t msg, uintptr_t wp, intptr_t lp) override {
        calls.push_back("send " + std::to_string(w) + " " + std::to_string(msg) + " " + std::to_string(wp) + " " +
                        std::to_string(lp));
        return 0;
    }
    void ShowMessageBox(Text text, Text title, uint32_t type) override {
        boxes.push_back(std::string(text) + "|" + title + "|" + std::to_string(type));
    }
};

struct FakeButton final : TogglePort {
    std::string caption = "开始";
    Text ReadButtonCaption() override { return CopyText(caption.c_str()); }
    void WriteButtonCaption(Text c) override { caption = c ? c : ""; }
    Text ReadIntervalText() override { return CopyText("1"); }
    void WriteTimerPeriod(int32_t) override {}
};

class HotkeyTest : public TextHeapTest {
protected:
    void SetUp() override {
        TextHeapTest::SetUp();
        hotkeyRegistry = HotkeyRegistry();
        hotkeyName = nullptr;
        UseProgramPort(&ender);
    }
    void TearDown() override {
        UseProgramPort(nullptr);
        hotkeyName = nullptr;
        TextHeapTest::TearDown();
    }
    FakeHotkeys hotkeys;
    FakeButton button;
    EndRecorder ender;
};

TEST_F(HotkeyTest, FirstGrantedKeyNamesTheCaption) {
    struct Case {
        std::set<uint32_t> refused;
        std::string caption;
        int32_t lastId;
        std::string lastRegister;
    } cases[] = {
        {{}, "开始(F1键)", 33001, "register 256 33001 0 112"},
        {{0x70}, "开始(F2键)", 33002, "register 256 33002 0 113"},
        {{0x70, 0x71}, "开始(F3键)", 33003, "register 256 33003 0 114"},
        {{0x70, 0x71, 0x72}, "开始(Alt+Z键)", 33004, "register 256 33004 1 90"},  // MOD_ALT
    };
    for (const auto& c : cases) {
        hotkeyRegistry = HotkeyRegistry();
        hotkeys = FakeHotkeys();
        hotkeys.refusedKeys = c.refused;
        OnWindowCreated(hotkeys, button);
        EXPECT_EQ(button.caption, c.caption);
        EXPECT_EQ(hotkeyRegistry.lastIdentifier, c.lastId);
        EXPECT_EQ(hotkeys.calls.back(), c.lastRegister);
        EXPECT_EQ(hotkeys.calls.front(), "install 256") << "the procedure goes on once, before the first attempt";
        EXPECT_EQ(std::count(hotkeys.calls.begin(), hotkeys.calls.end(), "install 256"), 1);
        EXPECT_EQ(hotkeyRegistry.notifyWindow, kLabel);
        EXPECT_TRUE(hotkeys.boxes.empty());
    }
}

TEST_F(HotkeyTest, AllKeysRefusedShowsTheBoxAndEnds) {
    hotkeys.refusedKeys = {0x70, 0x71, 0x72, 0x5A};
    try {
        OnWindowCreated(hotkeys, button);
        ADD_FAILURE() << "the program went on";
    } catch (const Ended& e) {
        EXPECT_EQ(e.code, 1);
    }
    ASSERT_EQ(hotkeys.boxes.size(), 1u);
    EXPECT_EQ(hotkeys.boxes[0], "注册热键失败.|程序结束|8208");  // 0x2010
    EXPECT_EQ(button.caption, "开始") << "no caption is written";
}

TEST_F(HotkeyTest, ModifierCodesMapToWindowsFlags) {
    const uint32_t expected[] = {0, kModControl, kModShift, kModControl | kModShift, kModAlt,
                                 kModControl | kModAlt, kModShift | kModAlt, 7, 8};
    for (int32_t code = 0; code <= 8; ++code) EXPECT_EQ(ModifierFlags(code), expected[code]) << code;
}

TEST_F(HotkeyTest, OnlyOurIdentifiersBecomeFeedback) {
    hotkeys.refusedKeys = {0x70};
    OnWindowCreated(hotkeys, button);  // F1 refused (33001), F2 granted (33002)
    hotkeys.calls.clear();

    struct Case {
        uint32_t message;
        uintptr_t wParam;
        bool feedback;
    } cases[] = {
        {kWmHotkey, 33002, true},  {kWmHotkey, 33001, true},  // 33001 is ours, though refused
        {kWmHotkey, 33003, false}, {kWmHotkey, 33000, false}, {kWmHotkey, 5, false},
        {0x0010, 33002, false},  // another message with the same wParam
    };
    for (const auto& c : cases) {
        hotkeys.calls.clear();
        EXPECT_EQ(HotkeyWindowProc(hotkeys, kMain, c.message, c.wParam, 0), 7);
        std::vector<std::string> expected;
        if (c.feedback) expected.push_back("send 512 32885 " + std::to_string(c.wParam) + " 0");
        expected.push_back("previous 2748 " + std::to_string(c.message) + " " + std::to_string(c.wParam));
        EXPECT_EQ(hotkeys.calls, expected) << c.message << " " << c.wParam;
    }
}

TEST_F(HotkeyTest, FeedbackTogglesTheRun) {
    OnWindowCreated(hotkeys, button);
    OnHotkeyFeedback(button, 33001, 0);
    EXPECT_EQ(button.caption, "停止(F1键)");
    OnHotkeyFeedback(button, 33001, 0);
    EXPECT_EQ(button.caption, "开始(F1键)");
}

}  // namespace
