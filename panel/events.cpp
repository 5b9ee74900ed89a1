#include "panel/events.h"

PanelPorts panelPorts;

namespace {

struct Binding {
    EventSource source;
    Event event;
    void (*handler)(intptr_t a, intptr_t b, intptr_t c);
};

const Binding kEventTable[] = {
    {kMainWindowSource, Event::Created,
     [](intptr_t, intptr_t, intptr_t) { OnWindowCreated(*panelPorts.hotkeys, *panelPorts.toggle); }},
    {kMainWindowSource, Event::CloseQuery, [](intptr_t, intptr_t, intptr_t) { OnCloseQuery(); }},
    {FromControl(ControlId::按钮1), Event::Click,
     [](intptr_t, intptr_t, intptr_t) { OnStartStopClicked(*panelPorts.toggle); }},
    {FromControl(ControlId::时钟1), Event::Periodic, [](intptr_t, intptr_t, intptr_t) { OnSendTick(*panelPorts.send); }},
    {FromControl(ControlId::标签1), Event::Feedback,
     [](intptr_t w, intptr_t l, intptr_t) { OnHotkeyFeedback(*panelPorts.toggle, w, l); }},
    {FromControl(ControlId::标签3), Event::LeftButtonDown,
     [](intptr_t x, intptr_t y, intptr_t keys) {
         OnLinkPressed(*panelPorts.shell, static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(keys));
     }},
};

}  // namespace

bool RaiseEvent(EventSource source, Event event, intptr_t a, intptr_t b, intptr_t c) {
    if (ProgramIsEnding()) return false;  // releasing resources may still stir a window
    for (const Binding& binding : kEventTable) {
        if (binding.source == source && binding.event == event) {
            binding.handler(a, b, c);
            return true;
        }
    }
    return false;
}
