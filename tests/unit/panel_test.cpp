#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/send_cycle.h"
#include "panel/events.h"
#include "panel/keyboard.h"
#include "panel/layout.h"
#include "panel/main_window.h"
#include "panel/program.h"
#include "test_support.h"
#include "text/literals.h"

namespace {

using Calls = std::vector<std::string>;

TEST(LayoutTest, WindowIsCentredWithTruncation) {
    struct Case {
        int w, h, x, y;
    } cases[] = {{1024, 768, 297, 224}, {400, 300, -14, -10}, {1920, 1080, 745, 380}, {1025, 769, 298, 224}};
    for (const auto& c : cases) {
        Point p = CentredOrigin(c.w, c.h);
        EXPECT_EQ(p.x, c.x) << c.w;
        EXPECT_EQ(p.y, c.y) << c.h;
    }
}

TEST(LayoutTest, TableIsIndexedByIdAndOnlyTheTimerIsHidden) {
    for (int i = 0; i < kControlCount; ++i) {
        EXPECT_EQ(static_cast<int>(kControls[i].id), i);
        EXPECT_EQ(kControls[i].visible, kControls[i].kind != ControlKind::Timer);
    }
    EXPECT_EQ(CompareTexts(LayoutOf(ControlId::标签2).text, "间隔(秒):      "), 0);
    EXPECT_EQ(CompareTexts(LayoutOf(ControlId::标签3).text, "更多软件点击进入 www.example.com Talquin"), 0);
    EXPECT_EQ(CompareTexts(kLiterals.makerAddress, "http://www.example.com/?quelto"), 0);
}

struct KeyCase {
    KeyPress key;
    KeyAction action;
};

TEST(KeyboardTest, ScreeningOfKeys) {
    const KeyCase cases[] = {
        {{kVkEscape, false, false, false, false}, KeyAction::Close},
        {{kVkEscape, false, false, false, true}, KeyAction::Close},  // the text box does not claim Esc
        {{kVkEscape, true, false, false, false}, KeyAction::PassOn},
        {{kVkEscape, false, true, false, false}, KeyAction::PassOn},
        {{kVkEscape, false, false, true, false}, KeyAction::PassOn},
        {{kVkTab, false, false, false, false}, KeyAction::FocusNext},
        {{kVkTab, false, false, false, true}, KeyAction::FocusNext},
        {{kVkTab, true, false, false, false}, KeyAction::FocusPrevious},
        {{kVkTab, false, true, false, false}, KeyAction::PassOn},  // Ctrl+Tab
        {{kVkTab, false, false, true, false}, KeyAction::PassOn},  // Alt+Tab
        {{kVkReturnKey, false, false, false, true}, KeyAction::PassOn},
        {{kVkReturnKey, false, false, false, false}, KeyAction::PassOn},
        {{'A', false, false, false, false}, KeyAction::PassOn},
    };
    for (const auto& c : cases) EXPECT_EQ(ScreenKey(c.key), c.action) << c.key.vk;
}

TEST(KeyboardTest, TabOrderWrapsBothWays) {
    auto all = [](ControlId) { return true; };
    std::vector<ControlId> forward;
    std::optional<ControlId> at = ControlId::按钮1;
    for (int i = 0; i < 5; ++i) forward.push_back(*(at = NextTabStop(at, false, all)));
    EXPECT_EQ(forward, (std::vector<ControlId>{ControlId::选择框1, ControlId::编辑框3, ControlId::超级编辑框1,
                                               ControlId::选择框2, ControlId::按钮1}));
    EXPECT_EQ(NextTabStop(ControlId::按钮1, true, all), ControlId::选择框2);
    EXPECT_EQ(NextTabStop(ControlId::编辑框3, true, all), ControlId::选择框1);
    EXPECT_EQ(NextTabStop(std::nullopt, false, all), ControlId::按钮1);
    EXPECT_EQ(NextTabStop(std::nullopt, true, all), ControlId::选择框2);
    EXPECT_EQ(NextTabStop(ControlId::标签1, false, all), ControlId::按钮1);  // not in the order
}

TEST(KeyboardTest, TabSkipsControlsThatCannotTakeFocus) {
    auto notEdit = [](ControlId id) { return id != ControlId::编辑框3; };
    EXPECT_EQ(NextTabStop(ControlId::选择框1, false, notEdit), ControlId::超级编辑框1);
    auto only = [](ControlId id) { return id == ControlId::按钮1; };
    EXPECT_EQ(NextTabStop(ControlId::按钮1, false, only), ControlId::按钮1);
    EXPECT_EQ(NextTabStop(ControlId::按钮1, false, [](ControlId) { return false; }), std::nullopt);
}

struct Ended : std::runtime_error {
    explicit Ended(int32_t c) : std::runtime_error("ended"), code(c) {}
    int32_t code;
};

// Start-up, window building and the end, all written down in order.
class RecordingSystem final : public ProgramPort, public WindowBuilder, public HotkeyPort, public TogglePort,
                              public ShellPort {
public:
    Calls calls;
    bool loadSucceeds = true;
    int failControl = -1;
    bool refuseHotkeys = false;
    bool windowExists = true;
    std::vector<intptr_t> shellResults;

    // ProgramPort
    void EnterExecutableFolder() override { calls.push_back("folder"); }
    void InitialiseCom() override { calls.push_back("com"); }
    bool LoadMainWindow() override {
        calls.push_back("load");
        if (!loadSucceeds) return false;
        return ::LoadMainWindow(*this).ok;
    }
    Text LoadFailure() override { return kLiterals.windowTitle; }
    bool MainWindowExists() override { return windowExists; }
    void RunMessageLoop() override { calls.push_back("loop"); }
    void ShowErrorBox(Text message) override { calls.push_back("error box " + std::string(message)); }
    void ReleaseResources() override { calls.push_back("release"); }
    [[noreturn]] void ExitProcess(int32_t code) override {
        calls.push_back("exit " + std::to_string(code));
        throw Ended(code);
    }

    // WindowBuilder
    bool CreateMainWindow() override {
        calls.push_back("create window");
        return true;
    }
    bool CreateControl(const ControlLayout& layout) override {
        calls.push_back("create " + std::to_string(static_cast<int>(layout.id)));
        return static_cast<int>(layout.id) != failControl;
    }
    void PlaceOnTop(ControlId c) override { calls.push_back("top " + std::to_string(static_cast<int>(c))); }
    void PlaceBelow(ControlId c, ControlId above) override {
        calls.push_back("below " + std::to_string(static_cast<int>(c)) + " " + std::to_string(static_cast<int>(above)));
    }
    void ShowControl(ControlId c) override { calls.push_back("show " + std::to_string(static_cast<int>(c))); }
    void ShowMainWindow() override { calls.push_back("show window"); }

    // HotkeyPort
    WindowRef MainWindowHandle() override { return 1; }
    WindowRef Label1Handle() override { return 2; }
    bool RegisterHotKey(WindowRef, int32_t, uint32_t, uint32_t) override { return !refuseHotkeys; }
    WindowProcRef InstallHotkeyWindowProc(WindowRef) override { return 3; }
    intptr_t CallProcedure(WindowProcRef, WindowRef, uint32_t, uintptr_t, intptr_t) override { return 0; }
    intptr_t SendToWindow(WindowRef, uint32_t, uintptr_t, intptr_t) override { return 0; }
    void ShowMessageBox(Text text, Text, uint32_t) override { calls.push_back("box " + std::string(text)); }

    // TogglePort
    Text ReadButtonCaption() override { return nullptr; }
    void WriteButtonCaption(Text c) override { calls.push_back("caption " + std::string(c)); }
    Text ReadIntervalText() override { return nullptr; }
    void WriteTimerPeriod(int32_t) override {}

    // ShellPort
    intptr_t Execute(Text file, Text parameters, Text directory) override {
        calls.push_back("shell " + std::string(file) + " " + (parameters ? parameters : "<null>") + " " +
                        (directory ? "'" + std::string(directory) + "'" : "<null>"));
        intptr_t result = shellResults.empty() ? 42 : shellResults.front();
        if (!shellResults.empty()) shellResults.erase(shellResults.begin());
        return result;
    }
};

class ProgramTest : public TextHeapTest {
protected:
    void SetUp() override {
        TextHeapTest::SetUp();
        hotkeyRegistry = HotkeyRegistry();
        panelPorts.hotkeys = &system;
        panelPorts.toggle = &system;
        panelPorts.shell = &system;
        UseProgramPort(&system);
    }
    void TearDown() override {
        panelPorts = PanelPorts();
        UseProgramPort(nullptr);
        SetOutOfMemoryHandler(nullptr);
        hotkeyName = nullptr;
        TextHeapTest::TearDown();
    }
    // Runs start-up to its end, or to the process exit; gives the exit code or
    // the value StartupRoutine returned.
    int32_t Start() {
        try {
            return StartupRoutine(system);
        } catch (const Ended& e) {
            return e.code;
        }
    }
    RecordingSystem system;
};

TEST_F(ProgramTest, StartupBuildsTheWindowInOrderThenRunsTheLoop) {
    lineCursor = 9;
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(lineCursor, 0);
    const Calls expected = {
        "folder", "com", "load", "create window",
        // creation order
        "create 0", "create 1", "create 2", "create 3", "create 4", "create 5", "create 6", "create 7", "create 8",
        // z-order: 标签3 on top, then each below the one before
        "top 8", "below 7 8", "below 6 7", "below 5 6", "below 4 5", "below 3 4", "below 2 3", "below 1 2",
        "below 0 1",
        // every control but 时钟1 (5)
        "show 0", "show 1", "show 2", "show 3", "show 4", "show 6", "show 7", "show 8",
        // the created event claims F1 before the window shows
        "caption 开始(F1键)", "show window", "loop",
    };
    EXPECT_EQ(system.calls, expected);
}

TEST_F(ProgramTest, ControlThatCannotBeCreatedIsFatal) {
    system.failControl = static_cast<int>(ControlId::超级编辑框1);
    system.loadSucceeds = true;
    EXPECT_EQ(Start(), -1);
    const Calls tail(system.calls.end() - 3, system.calls.end());
    EXPECT_EQ(tail, (Calls{"error box Vexmora,网页、游戏等全部通杀-Talquin", "release", "exit -1"}));
    for (const auto& call : system.calls) EXPECT_NE(call, "show window");
}

TEST_F(ProgramTest, NoHotkeyEndsBeforeTheWindowShows) {
    system.refuseHotkeys = true;
    EXPECT_EQ(Start(), 1);
    const Calls tail(system.calls.end() - 3, system.calls.end());
    EXPECT_EQ(tail, (Calls{"box 注册热键失败.", "release", "exit 1"}));
}

TEST_F(ProgramTest, ExitRoutineRunsOnceAndReleasesTheHotkeyName) {
    Start();
    hotkeyName = CopyText("F9键");  // an allocated name must be given back
    try {
        OnCloseQuery();
    } catch (const Ended& e) {
        EXPECT_EQ(e.code, 0);
    }
    EXPECT_EQ(hotkeyName, nullptr);
    EXPECT_EQ(system.calls.back(), "exit 0");
}

TEST_F(ProgramTest, NoEventRunsOnceTheProgramEnds) {
    Start();
    try {
        OnCloseQuery();
    } catch (const Ended&) {
    }
    system.calls.clear();
    EXPECT_FALSE(RaiseEvent(FromControl(ControlId::标签3), Event::LeftButtonDown));
    EXPECT_TRUE(system.calls.empty());
}

TEST_F(ProgramTest, FatalErrorSkipsTheExitRoutine) {
    Start();
    hotkeyName = kLiterals.hotkeyF2;
    try {
        FatalError("boom");
    } catch (const Ended& e) {
        EXPECT_EQ(e.code, -1);
    }
    EXPECT_EQ(hotkeyName, kLiterals.hotkeyF2) << "ExitRoutine must not run after a fatal error";
    hotkeyName = nullptr;
}

TEST_F(ProgramTest, OutOfMemoryShowsTheSizeAndEndsWithMinusOne) {
    Start();
    heap.failNext = true;
    try {
        CopyText("12345");
        ADD_FAILURE() << "no fatal error";
    } catch (const Ended& e) {
        EXPECT_EQ(e.code, -1);
    }
    const std::string box = system.calls[system.calls.size() - 3];
    EXPECT_NE(box.find("6 字节"), std::string::npos) << box;
}

TEST_F(ProgramTest, LinkTriesTheBrowserThenTheAddress) {
    Start();
    struct Case {
        std::vector<intptr_t> results;
        Calls expected;
    } cases[] = {
        {{42}, {"shell IEXPLORE.EXE http://www.example.com/?quelto ''"}},
        {{2, 42},
         {"shell IEXPLORE.EXE http://www.example.com/?quelto ''", "shell http://www.example.com/?quelto <null> <null>"}},
        {{32, 0},
         {"shell IEXPLORE.EXE http://www.example.com/?quelto ''", "shell http://www.example.com/?quelto <null> <null>"}},
    };
    for (auto& c : cases) {
        system.calls.clear();
        system.shellResults = c.results;
        EXPECT_TRUE(RaiseEvent(FromControl(ControlId::标签3), Event::LeftButtonDown, 3, 4, 1));
        EXPECT_EQ(system.calls, c.expected);
    }
}

TEST_F(ProgramTest, EventsWithoutHandlerDoNothing) {
    Start();
    system.calls.clear();
    EXPECT_FALSE(RaiseEvent(FromControl(ControlId::标签2), Event::LeftButtonDown));
    EXPECT_FALSE(RaiseEvent(FromControl(ControlId::标签1), Event::LeftButtonDown));
    EXPECT_FALSE(RaiseEvent(FromControl(ControlId::按钮1), Event::Periodic));
    EXPECT_TRUE(system.calls.empty());
}

}  // namespace
