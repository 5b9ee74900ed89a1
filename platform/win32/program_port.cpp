// Start-up and the end of the process on Windows.
#include <windows.h>
#include <ole2.h>

#include "panel/program.h"
#include "win32_window.h"

void UseSystemServices();  // heap.cpp

namespace {

class Win32ProgramPort final : public ProgramPort {
public:
    void EnterExecutableFolder() override {
        char path[MAX_PATH];
        DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
        if (length == 0 || length >= sizeof path) return;
        // The folder is everything before the last backslash; in GBK a trail
        // byte can be 0x5C, so walk by characters.
        char* lastSlash = nullptr;
        for (char* p = path; *p; p = CharNextA(p)) {
            if (*p == '\\') lastSlash = p;
        }
        if (!lastSlash) return;
        lastSlash[lastSlash == path + 2 && path[1] == ':' ? 1 : 0] = '\0';
        SetCurrentDirectoryA(path);
    }
    void InitialiseCom() override { comReady = SUCCEEDED(OleInitialize(nullptr)); }
    bool LoadMainWindow() override {
        if (!RegisterWindowClasses(GetModuleHandleA(nullptr))) {
            failure = DescribeLoadFailure(true, ControlId::标签1);
            return false;
        }
        return LoadMainWindowWin32(&failure);
    }
    Text LoadFailure() override { return failure; }
    bool MainWindowExists() override { return mainWindow.main && IsWindow(mainWindow.main); }
    void RunMessageLoop() override { ::RunMessageLoop(); }
    void ShowErrorBox(Text message) override { MessageBoxA(nullptr, message, "Vexmora", MB_OK | MB_ICONERROR); }
    void ReleaseResources() override {
        if (mainWindow.richEditLibrary) FreeLibrary(mainWindow.richEditLibrary);
        mainWindow.richEditLibrary = nullptr;
        if (mainWindow.bigIcon) DestroyIcon(mainWindow.bigIcon);
        if (mainWindow.smallIcon) DestroyIcon(mainWindow.smallIcon);
        mainWindow.bigIcon = mainWindow.smallIcon = nullptr;
        if (mainWindow.linkFont) DeleteObject(mainWindow.linkFont);
        mainWindow.linkFont = nullptr;
        if (comReady) OleUninitialize();
        comReady = false;
    }
    [[noreturn]] void ExitProcess(int32_t code) override { ::ExitProcess(static_cast<UINT>(code)); }

private:
    bool comReady = false;
    Text failure = nullptr;
};

Win32ProgramPort programPort;

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    UseSystemServices();
    InstallPanelPorts();
    int32_t quitCode = StartupRoutine(programPort);
    EndProgram(quitCode);
}
