#pragma once
// The event table: which handler each event of the window and its controls
// runs. The window layer only raises events; everything else happens here.
#include <cstdint>

#include "engine/send_cycle.h"
#include "panel/hotkey.h"
#include "panel/layout.h"
#include "panel/program.h"
#include "panel/toggle.h"

enum class Event { Created, CloseQuery, Click, Periodic, Feedback, LeftButtonDown };

// An event's source: MainWindow or one of its controls.
struct EventSource {
    bool mainWindow;
    ControlId control;
    bool operator==(const EventSource& o) const {
        return mainWindow == o.mainWindow && (mainWindow || control == o.control);
    }
};
constexpr EventSource kMainWindowSource{true, ControlId::标签1};
constexpr EventSource FromControl(ControlId id) { return {false, id}; }

// What the handlers work through; the window layer fills it in once.
struct PanelPorts {
    SendPort* send = nullptr;
    TogglePort* toggle = nullptr;
    HotkeyPort* hotkeys = nullptr;
    ShellPort* shell = nullptr;
};
extern PanelPorts panelPorts;

// Runs the handler bound to the event, if any, with the event's integers.
// True when one ran.
bool RaiseEvent(EventSource source, Event event, intptr_t a = 0, intptr_t b = 0, intptr_t c = 0);
