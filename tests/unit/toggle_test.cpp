#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/send_cycle.h"
#include "panel/timer_control.h"
#include "panel/toggle.h"
#include "test_support.h"
#include "text/literals.h"

namespace {

struct RecordingTimerApi final : TimerApi {
    std::vector<std::string> calls;
    void SetTimer(uint32_t id, uint32_t ms) override {
        calls.push_back("set " + std::to_string(id) + " " + std::to_string(ms));
    }
    void KillTimer(uint32_t id) override { calls.push_back("kill " + std::to_string(id)); }
};

// 按钮1, 编辑框3 and 时钟1, with every write recorded in order.
class FakePanel final : public TogglePort {
public:
    explicit FakePanel(TimerApi& api) : clock(api) {}
    std::string caption = "开始";
    std::string interval = "1";
    TimerControl clock;
    std::vector<std::string> writes;
    int intervalReads = 0;

    Text ReadButtonCaption() override { return CopyText(caption.c_str()); }
    void WriteButtonCaption(Text c) override {
        caption = c ? c : "";
        writes.push_back("caption " + caption);
    }
    Text ReadIntervalText() override {
        ++intervalReads;
        return CopyText(interval.c_str());
    }
    void WriteTimerPeriod(int32_t ms) override {
        writes.push_back("period " + std::to_string(ms));
        clock.WritePeriod(ms);
    }
};

class ToggleTest : public TextHeapTest {
protected:
    void SetUp() override {
        TextHeapTest::SetUp();
        hotkeyName = kLiterals.hotkeyF1;
        panel.caption = "开始(F1键)";
        lineCursor = 5;
    }
    void TearDown() override {
        hotkeyName = nullptr;
        TextHeapTest::TearDown();
    }
    RecordingTimerApi timers;
    FakePanel panel{timers};
};

using Calls = std::vector<std::string>;

TEST_F(ToggleTest, StartWritesCaptionThenResetsCursorThenSetsPeriod) {
    OnStartStopClicked(panel);
    EXPECT_EQ(panel.writes, (Calls{"caption 停止(F1键)", "period 1000"}));
    EXPECT_EQ(timers.calls, (Calls{"set 1000 1000"}));
    EXPECT_EQ(lineCursor, 0);
}

TEST_F(ToggleTest, StopAndRestartSendsFromTheFirstLineAgain) {
    OnStartStopClicked(panel);
    lineCursor = 2;
    OnStartStopClicked(panel);
    EXPECT_EQ(panel.caption, "开始(F1键)");
    EXPECT_EQ(lineCursor, 2) << "stopping leaves the cursor where it is";
    OnStartStopClicked(panel);
    EXPECT_EQ(lineCursor, 0);
    EXPECT_EQ(timers.calls, (Calls{"set 1000 1000", "kill 1000", "set 1000 1000"}));
    EXPECT_EQ(panel.intervalReads, 2) << "the interval is read at each start only";
}

TEST_F(ToggleTest, UnusableIntervalsRunWithoutAnyTimerCall) {
    const std::string hundredDigits(100, '7');
    for (const std::string& interval : {std::string("0"), std::string("-3"), std::string("abc"), std::string(""),
                                        std::string("2147484"), std::string("4294968"), hundredDigits}) {
        timers.calls.clear();
        panel.interval = interval;
        OnStartStopClicked(panel);
        EXPECT_EQ(panel.caption, "停止(F1键)") << interval;
        OnStartStopClicked(panel);
        EXPECT_EQ(panel.caption, "开始(F1键)") << interval;
        EXPECT_TRUE(timers.calls.empty()) << interval;
    }
}

TEST_F(ToggleTest, PeriodIsTheExactProductOrNothing) {
    struct Case {
        int32_t seconds;
        int32_t period;
    } cases[] = {
        {1, 1000},
        {0, 0},
        {-3, 0},
        {2147483, 2147483000},  // the largest interval that fits
        {2147484, 0},           // the product passes 2^31 - 1
        {4294968, 0},           // would wrap to 704 ms if cut to 32 bits
        {INT32_MAX, 0},
        {INT32_MIN, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(PeriodForInterval(c.seconds), c.period) << c.seconds;
}

TEST_F(ToggleTest, FullWidthIntervalIsRead) {
    panel.interval = "　２秒";
    OnStartStopClicked(panel);
    EXPECT_EQ(timers.calls, (Calls{"set 1000 2000"}));
}

TEST_F(ToggleTest, AnyOtherCaptionTakesTheStopBranch) {
    panel.caption = "开始";  // the initial caption, before the hotkey set the name
    OnStartStopClicked(panel);
    EXPECT_EQ(panel.writes, (Calls{"caption 开始(F1键)", "period 0"}));
    EXPECT_TRUE(timers.calls.empty());
}

TEST_F(ToggleTest, CaptionsFollowTheHotkeyName) {
    hotkeyName = kLiterals.hotkeyAltZ;
    panel.caption = "开始(Alt+Z键)";
    OnStartStopClicked(panel);
    EXPECT_EQ(panel.caption, "停止(Alt+Z键)");
    hotkeyName = nullptr;
    Owned stopped(StoppedCaption());
    EXPECT_EQ(stopped.str(), "开始()");
}

TEST(TimerControlTest, PeriodRule) {
    RecordingTimerApi api;
    TimerControl clock(api);
    clock.WritePeriod(0);
    clock.WritePeriod(-5);  // counts as 0: unchanged
    EXPECT_TRUE(api.calls.empty());
    clock.WritePeriod(1000);
    clock.WritePeriod(1000);  // unchanged: the running count goes on
    EXPECT_EQ(api.calls, (Calls{"set 1000 1000"}));
    clock.WritePeriod(2000);
    EXPECT_EQ(api.calls, (Calls{"set 1000 1000", "kill 1000", "set 1000 2000"}));
    clock.WritePeriod(-1);
    EXPECT_EQ(api.calls.back(), "kill 1000");
    EXPECT_FALSE(clock.IsSet());
    EXPECT_EQ(clock.Period(), 0);
    clock.WritePeriod(500);
    clock.OnWindowDestroyed();
    EXPECT_EQ(api.calls.back(), "kill 1000");
    EXPECT_FALSE(clock.IsSet());
}

}  // namespace
