#include "panel/toggle.h"

#include "engine/send_cycle.h"
#include "text/literals.h"

Text hotkeyName = nullptr;

Text StoppedCaption() { return JoinTexts({kLiterals.stoppedPrefix, hotkeyName, kLiterals.captionClose}); }

Text RunningCaption() { return JoinTexts({kLiterals.runningPrefix, hotkeyName, kLiterals.captionClose}); }

int32_t PeriodForInterval(int32_t seconds) {
    // Cutting the product to 32 bits would turn about 50 days into 704 ms.
    int64_t product = RealToInt64(seconds * 1000.0);
    return product >= 1 && product <= INT32_MAX ? static_cast<int32_t>(product) : 0;
}

void OnStartStopClicked(TogglePort& port) {
    Text stopped = StoppedCaption();
    Text caption = port.ReadButtonCaption();
    bool isStopped = CompareTexts(stopped, caption) == 0;
    ReleaseText(caption);

    if (isStopped) {
        Text running = RunningCaption();
        port.WriteButtonCaption(running);
        ReleaseText(running);
        lineCursor = 0;
        Text interval = port.ReadIntervalText();
        int32_t seconds = TextToInt(interval);
        ReleaseText(interval);
        port.WriteTimerPeriod(PeriodForInterval(seconds));
    } else {
        port.WriteButtonCaption(stopped);
        port.WriteTimerPeriod(0);
    }
    ReleaseText(stopped);
}
