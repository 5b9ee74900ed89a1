#include "panel/program.h"

#include <cstdio>
#include <cstdlib>

#include "engine/random_hanzi.h"
#include "engine/send_cycle.h"
#include "panel/toggle.h"
#include "text/literals.h"
#include "text/text_heap.h"

namespace {

ProgramPort* programPort = nullptr;
void (*registeredExitRoutine)() = nullptr;
bool ending = false;

// Names the controls by what the user sees.
const char* const kControlNames[kControlCount] = {
    "标签1", "按钮1", "标签2", "选择框1", "编辑框3", "时钟1", "超级编辑框1(RichEdit)", "选择框2", "标签3",
};

}  // namespace

void UseProgramPort(ProgramPort* port) { programPort = port; }

int32_t StartupRoutine(ProgramPort& port) {
    UseProgramPort(&port);
    port.EnterExecutableFolder();
    port.InitialiseCom();

    hotkeyName = nullptr;
    lineCursor = 0;
    seedOffset = 0;
    ending = false;
    SetOutOfMemoryHandler(OnOutOfMemory);

    registeredExitRoutine = ExitRoutine;

    if (!port.LoadMainWindow()) FatalError(port.LoadFailure());
    if (port.MainWindowExists()) port.RunMessageLoop();
    return 0;
}

void ExitRoutine() {
    ReleaseText(hotkeyName);
    hotkeyName = nullptr;
}

bool ProgramIsEnding() { return ending; }

void EndProgram(int32_t exitCode) {
    ending = true;
    if (registeredExitRoutine) {
        auto routine = registeredExitRoutine;
        registeredExitRoutine = nullptr;
        routine();
    }
    if (programPort) {
        programPort->ReleaseResources();
        programPort->ExitProcess(exitCode);
    }
    std::exit(exitCode);
}

void FatalError(Text message) {
    if (programPort) programPort->ShowErrorBox(message);
    registeredExitRoutine = nullptr;
    EndProgram(-1);
}

void OnOutOfMemory(size_t bytesAsked) {
    // No allocation here: the heap has just said no.
    static char message[96];
    std::snprintf(message, sizeof message, "内存不足：无法分配 %lu 字节。程序将结束。",
                  static_cast<unsigned long>(bytesAsked));
    FatalError(message);
}

Text DescribeLoadFailure(bool mainWindow, ControlId control) {
    if (mainWindow) return CopyText("无法创建主窗口。程序将结束。");
    return JoinTexts({"无法创建窗口控件 ", kControlNames[static_cast<int>(control)], "。程序将结束。"});
}

void OnCloseQuery() { EndProgram(0); }

void OnLinkPressed(ShellPort& shell, int32_t, int32_t, int32_t) {
    if (shell.Execute(kLiterals.browserFile, kLiterals.makerAddress, "") > 32) return;
    shell.Execute(kLiterals.makerAddress, nullptr, nullptr);
}
