// vmxdiag.exe: the diagnostic window on Windows. It reads database.ini of the
// current folder and finds the ECU on the machine's COM ports.
//
//   vmxdiag.exe [--record FILE [--force]]   (every byte on the line, see vmxdiag-cli replay)
//   vmxdiag.exe --user-folder ...            (in %LOCALAPPDATA%\vmxdiag, as from the Start menu)
//   vmxdiag.exe --open-log FILE             (the log viewer alone: no main window, no port)
//   vmxdiag.exe --version | --help          (the options: window/WindowOptions.cpp)

// windows.h first: the common controls' header needs its types.
#include <windows.h>

#include <commctrl.h>
#include <stdlib.h>

#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "text/win32/WideText.h"
#include "winapp/LogViewerProgram.h"
#include "winapp/MainForm.h"
#include "window/UserFolder.h"
#include "window/WindowOptions.h"

namespace {

// An "Error" box, or the program's own for what was asked of it.
void ShowMessage(const std::wstring& text, UINT icon) {
    const char* caption = icon == MB_ICONERROR ? WindowView::MessageCaption : "vmxdiag";
    ::MessageBoxW(nullptr, text.c_str(), Utf8ToWide(caption).c_str(), MB_OK | icon);
}

// The arguments after the program's name, file names in the system's code
// page as the program opens them.
std::vector<std::string> Arguments() {
    std::vector<std::string> arguments;
    for (int i = 1; i < __argc; ++i)
        arguments.push_back(std::filesystem::path(__wargv[i]).string());
    return arguments;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES |
                                                       ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    try {
        const WindowCommandLine line = ReadWindowCommandLine(Arguments());
        switch (line.Ask) {
            case WindowAsk::Version:
                ShowMessage(Utf8ToWide("vmxdiag " VMX_VERSION), MB_ICONINFORMATION);
                return 0;
            case WindowAsk::Help:
                ShowMessage(Utf8ToWide(WindowUsage()), MB_ICONINFORMATION);
                return 0;
            case WindowAsk::Wrong:
                ShowMessage(Utf8ToWide(line.Arguments.Problem + ".\n\n" + WindowUsage()),
                            MB_ICONERROR);
                return 2;
            case WindowAsk::Window:
                break;
        }
        if (line.Arguments.UserFolder) EnterUserFolder(UserFolderPlacesOfThisUser());
        WindowBehaviour::Options options = line.Arguments.Options;
        options.Directory = std::filesystem::current_path();
        if (!line.Arguments.OpenLog.empty())
            return RunLogViewer(instance, options.Directory, line.Arguments.OpenLog);
        TMainForm MainForm(instance, options);
        MainForm.Show(showCommand);
        return MainForm.Run();
    } catch (const std::exception& e) {
        ShowMessage(Utf8ToWide(StartUpFailureText(e)), MB_ICONERROR);
    } catch (...) {
        ShowMessage(L"", MB_ICONERROR);
    }
    return 1;
}
