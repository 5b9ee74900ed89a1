#include "panel/timer_control.h"

void TimerControl::WritePeriod(int32_t milliseconds) {
    if (milliseconds < 0) milliseconds = 0;
    if (milliseconds == period_) return;
    period_ = milliseconds;
    if (set_) {
        api_.KillTimer(kClockTimerId);
        set_ = false;
    }
    if (period_ > 0) {
        api_.SetTimer(kClockTimerId, static_cast<uint32_t>(period_));
        set_ = true;
    }
}

void TimerControl::OnWindowDestroyed() {
    if (set_) api_.KillTimer(kClockTimerId);
    set_ = false;
}
