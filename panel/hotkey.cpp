#include "panel/hotkey.h"

#include "panel/program.h"
#include "text/literals.h"

const HotkeyRow kHotkeyTable[4] = {
    {0, 0x70, kLiterals.hotkeyF1},
    {0, 0x71, kLiterals.hotkeyF2},
    {0, 0x72, kLiterals.hotkeyF3},
    {4, 0x5A, kLiterals.hotkeyAltZ},
};

HotkeyRegistry hotkeyRegistry;

uint32_t ModifierFlags(int32_t modifierCode) {
    switch (modifierCode) {
        case 1: return kModControl;
        case 2: return kModShift;
        case 3: return kModControl | kModShift;
        case 4: return kModAlt;
        case 5: return kModControl | kModAlt;
        case 6: return kModShift | kModAlt;
        default: return static_cast<uint32_t>(modifierCode);
    }
}

int32_t RegisterLabelHotkey(HotkeyPort& port, WindowRef mainWindow, WindowRef notifyWindow, int32_t modifierCode,
                            uint32_t vk) {
    hotkeyRegistry.notifyWindow = notifyWindow;
    uint32_t flags = ModifierFlags(modifierCode);
    if (hotkeyRegistry.attemptCount == 0)
        hotkeyRegistry.previousWindowProc = port.InstallHotkeyWindowProc(mainWindow);
    ++hotkeyRegistry.attemptCount;
    int32_t id = kHotkeyIdBase + hotkeyRegistry.attemptCount;
    hotkeyRegistry.lastIdentifier = id;
    return port.RegisterHotKey(mainWindow, id, flags, vk) ? id : 0;
}

intptr_t HotkeyWindowProc(HotkeyPort& port, WindowRef window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == kWmHotkey) {
        for (int32_t id = kHotkeyIdBase + 1; id <= hotkeyRegistry.lastIdentifier; ++id) {
            if (wParam == static_cast<uintptr_t>(id))
                port.SendToWindow(hotkeyRegistry.notifyWindow, kWmLabelFeedback, wParam, 0);
        }
    }
    return port.CallProcedure(hotkeyRegistry.previousWindowProc, window, message, wParam, lParam);
}

void OnWindowCreated(HotkeyPort& hotkeys, TogglePort& panel) {
    bool granted = false;
    for (const HotkeyRow& row : kHotkeyTable) {
        WindowRef mainWindow = hotkeys.MainWindowHandle();
        WindowRef label = hotkeys.Label1Handle();
        if (RegisterLabelHotkey(hotkeys, mainWindow, label, row.modifierCode, row.vk) != 0) {
            ReleaseText(hotkeyName);
            hotkeyName = row.displayName;
            granted = true;
            break;
        }
    }
    if (!granted) {
        hotkeys.ShowMessageBox(kLiterals.hotkeyFailedText, kLiterals.hotkeyFailedTitle, kHotkeyBoxType);
        EndProgram(kHotkeyFailedExitCode);
    }
    Text caption = StoppedCaption();
    panel.WriteButtonCaption(caption);
    ReleaseText(caption);
}

void OnHotkeyFeedback(TogglePort& panel, intptr_t, intptr_t) { OnStartStopClicked(panel); }
