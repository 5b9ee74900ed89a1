#pragma once
// 时钟1: owns one Windows timer (identifier 1000 on its own window) and applies
// a new period only when it differs, so a running count is never restarted.
#include <cstdint>

constexpr uint32_t kClockTimerId = 1000;

struct TimerApi {
    virtual ~TimerApi() = default;
    virtual void SetTimer(uint32_t id, uint32_t milliseconds) = 0;
    virtual void KillTimer(uint32_t id) = 0;
};

class TimerControl {
public:
    explicit TimerControl(TimerApi& api) : api_(api) {}

    void WritePeriod(int32_t milliseconds);
    int32_t Period() const { return period_; }
    bool IsSet() const { return set_; }
    // The timer's window goes away: a set timer ends with it.
    void OnWindowDestroyed();

private:
    TimerApi& api_;
    int32_t period_ = 0;
    bool set_ = false;
};
