#pragma once
// Start-up and the one way the program ends.
#include <cstddef>
#include <cstdint>

#include "panel/layout.h"
#include "text/text.h"

// What start-up and the end need from the system.
struct ProgramPort {
    virtual ~ProgramPort() = default;
    virtual void EnterExecutableFolder() = 0;  // current directory := the exe's folder
    virtual void InitialiseCom() = 0;
    // Builds MainWindow (see LoadMainWindow); false when it could not.
    virtual bool LoadMainWindow() = 0;
    // What failed, when LoadMainWindow returned false: a new text.
    virtual Text LoadFailure() = 0;
    virtual bool MainWindowExists() = 0;
    virtual void RunMessageLoop() = 0;
    virtual void ShowErrorBox(Text message) = 0;  // waits until dismissed
    // Libraries, icons, COM: everything but the window, which goes with the process.
    virtual void ReleaseResources() = 0;
    [[noreturn]] virtual void ExitProcess(int32_t code) = 0;
};

// The port EndProgram and fatal errors use; set by StartupRoutine.
void UseProgramPort(ProgramPort* port);

int32_t StartupRoutine(ProgramPort& port);
void ExitRoutine();
[[noreturn]] void EndProgram(int32_t exitCode);
// True once EndProgram has begun: no event of the window runs after that.
bool ProgramIsEnding();
// Shows the error box, then ends with -1 without running ExitRoutine.
[[noreturn]] void FatalError(Text message);
// The text heap's out-of-memory hook.
[[noreturn]] void OnOutOfMemory(size_t bytesAsked);

// "无法创建窗口" and the like for a control that could not be made.
Text DescribeLoadFailure(bool mainWindow, ControlId control);

void OnCloseQuery();

// Opens the maker's page: "IEXPLORE.EXE" with the address first, as the
// program always has; where that fails, the address itself, so the default
// browser shows it.
struct ShellPort {
    virtual ~ShellPort() = default;
    // ShellExecuteA's result: above 32 on success.
    virtual intptr_t Execute(Text file, Text parameters, Text directory) = 0;
};
void OnLinkPressed(ShellPort& shell, int32_t x, int32_t y, int32_t modifiers);
