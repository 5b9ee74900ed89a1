#pragma once
// MainWindow and its nine controls: where they sit, what they say, and the
// orders they are created, stacked and tabbed in.
#include <cstdint>

#include "text/text.h"

enum class ControlId : int {
    标签1,
    按钮1,
    标签2,
    选择框1,
    编辑框3,
    时钟1,
    超级编辑框1,
    选择框2,
    标签3,
};
constexpr int kControlCount = 9;

enum class ControlKind { Label, PushButton, CheckBox, LineEdit, RichEdit, Timer };

struct ControlLayout {
    ControlId id;
    ControlKind kind;
    int x, y, width, height;
    Text text;  // a constant text; nullptr for none
    bool visible;
    bool tabStop;
};

constexpr int kWindowWidth = 429;  // outer size, frame and title bar included
constexpr int kWindowHeight = 320;

// Indexed by ControlId; that is also the creation order.
extern const ControlLayout kControls[kControlCount];
extern const ControlId kZOrder[kControlCount];  // top first
extern const ControlId kTabOrder[5];

const ControlLayout& LayoutOf(ControlId id);

struct Point {
    int x, y;
};
// Centred on the primary screen, each half truncated toward zero.
Point CentredOrigin(int screenWidth, int screenHeight);
