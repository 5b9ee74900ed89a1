#include "panel/main_window.h"

#include "panel/events.h"

LoadResult LoadMainWindow(WindowBuilder& builder) {
    if (!builder.CreateMainWindow()) return {false, true, ControlId::标签1};
    for (const ControlLayout& layout : kControls) {
        if (!builder.CreateControl(layout)) return {false, false, layout.id};
    }
    builder.PlaceOnTop(kZOrder[0]);
    for (int i = 1; i < kControlCount; ++i) builder.PlaceBelow(kZOrder[i], kZOrder[i - 1]);
    for (const ControlLayout& layout : kControls) {
        if (layout.visible) builder.ShowControl(layout.id);
    }
    RaiseEvent(kMainWindowSource, Event::Created);
    if (builder.MainWindowExists()) builder.ShowMainWindow();
    return {true, false, ControlId::标签1};
}
