#pragma once
// Start and stop a run. The caption of 按钮1 is the only record of whether a
// run is going: exactly the stopped caption means stopped, anything else
// counts as running.
#include <cstdint>

#include "text/text.h"

struct TogglePort {
    virtual ~TogglePort() = default;
    virtual Text ReadButtonCaption() = 0;  // a new text
    virtual void WriteButtonCaption(Text caption) = 0;
    virtual Text ReadIntervalText() = 0;  // a new text, the content of 编辑框3
    virtual void WriteTimerPeriod(int32_t milliseconds) = 0;  // 时钟1's period rule
};

// Set once when the hotkey is claimed; "F1键" and the like.
extern Text hotkeyName;

// "开始(" + hotkeyName + ")" and "停止(" + hotkeyName + ")", new texts.
Text StoppedCaption();
Text RunningCaption();

// Milliseconds for an interval in seconds: N x 1000 computed exactly, and 0
// (no ticks) unless that lands between 1 and 2^31 - 1.
int32_t PeriodForInterval(int32_t seconds);

void OnStartStopClicked(TogglePort& port);
