#pragma once
// The order in which MainWindow comes into being: the window, its controls in
// creation order, the stacking, the controls shown, the created event, and
// only then the window itself.
#include "panel/layout.h"

struct WindowBuilder {
    virtual ~WindowBuilder() = default;
    // Hidden, at its centred place and exact outer size, with font and icons.
    virtual bool CreateMainWindow() = 0;
    virtual bool CreateControl(const ControlLayout& layout) = 0;  // hidden
    virtual void PlaceOnTop(ControlId control) = 0;
    virtual void PlaceBelow(ControlId control, ControlId above) = 0;
    virtual void ShowControl(ControlId control) = 0;  // without activating it
    virtual bool MainWindowExists() = 0;
    virtual void ShowMainWindow() = 0;
};

struct LoadResult {
    bool ok;
    bool mainWindowFailed;
    ControlId failedControl;
};

// Raises MainWindow's created event between showing the controls and
// showing the window, so that a box the handler shows comes first.
LoadResult LoadMainWindow(WindowBuilder& builder);
