#include "panel/layout.h"

#include "text/literals.h"

const ControlLayout kControls[kControlCount] = {
    {ControlId::标签1, ControlKind::Label, 6, 0, 248, 16, kLiterals.label1Text, true, false},
    {ControlId::按钮1, ControlKind::PushButton, 8, 252, 80, 28, kLiterals.initialCaption, true, true},
    {ControlId::标签2, ControlKind::Label, 4, 230, 102, 18, kLiterals.label2Text, true, false},
    {ControlId::选择框1, ControlKind::CheckBox, 100, 229, 50, 15, kLiterals.check1Text, true, true},
    {ControlId::编辑框3, ControlKind::LineEdit, 59, 228, 34, 18, kLiterals.intervalText, true, true},
    {ControlId::时钟1, ControlKind::Timer, 16, 40, 32, 32, nullptr, false, false},
    {ControlId::超级编辑框1, ControlKind::RichEdit, 5, 16, 411, 211, kLiterals.richEditText, true, true},
    {ControlId::选择框2, ControlKind::CheckBox, 158, 229, 74, 16, kLiterals.check2Text, true, true},
    {ControlId::标签3, ControlKind::Label, 104, 254, 312, 24, kLiterals.label3Text, true, false},
};

const ControlId kZOrder[kControlCount] = {
    ControlId::标签3,   ControlId::选择框2, ControlId::超级编辑框1, ControlId::时钟1, ControlId::编辑框3,
    ControlId::选择框1, ControlId::标签2,   ControlId::按钮1,       ControlId::标签1,
};

const ControlId kTabOrder[5] = {
    ControlId::按钮1, ControlId::选择框1, ControlId::编辑框3, ControlId::超级编辑框1, ControlId::选择框2,
};

const ControlLayout& LayoutOf(ControlId id) { return kControls[static_cast<int>(id)]; }

Point CentredOrigin(int screenWidth, int screenHeight) {
    return {(screenWidth - kWindowWidth) / 2, (screenHeight - kWindowHeight) / 2};
}
