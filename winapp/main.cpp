// vmxdiag.exe: the diagnostic window on Windows. It reads database.ini of the
// current folder and finds the ECU on the machine's COM ports.
//
//   vmxdiag.exe [--record FILE [--force]]   (every byte on the line, see vmxdiag-cli replay)
//   vmxdiag.exe --user-folder ...            (in %LOCALAPPDATA%\vmxdiag, as from the Start menu)

// windows.h first: the common controls' header needs its types.
#include <windows.h>

#include <commctrl.h>
#include <stdlib.h>

#include <exception>
#include <filesystem>
#include <string>

#include "text/win32/WideText.h"
#include "winapp/MainForm.h"
#include "window/UserFolder.h"
#include "window/WindowBehaviour.h"

namespace {

void ShowError(const std::wstring& text) {
    ::MessageBoxW(nullptr, text.c_str(), Utf8ToWide(WindowView::MessageCaption).c_str(),
                  MB_OK | MB_ICONERROR);
}

// The options of the command line; false, with the user told, for one it
// does not know.
bool ReadOptions(WindowBehaviour::Options& options, bool& userFolder) {
    for (int i = 1; i < __argc; ++i) {
        const std::wstring argument = __wargv[i];
        if (argument == L"--record" && i + 1 < __argc && __wargv[i + 1][0] != L'\0') {
            options.RecordPath = std::filesystem::path(__wargv[++i]).string();
            continue;
        }
        if (argument == L"--force") {
            options.ForceRecording = true;
            continue;
        }
        if (argument == L"--user-folder") {
            userFolder = true;
            continue;
        }
        ShowError(
            L"Usage: vmxdiag [--user-folder] [--record FILE [--force]]\n\n--user-folder works "
            L"in %LOCALAPPDATA%\\vmxdiag. FILE records every byte on the line (see vmxdiag-cli "
            L"replay); --force replaces it when it exists.");
        return false;
    }
    if (options.ForceRecording && options.RecordPath.empty()) {
        ShowError(L"--force goes with --record.");
        return false;
    }
    return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES |
                                                       ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    try {
        WindowBehaviour::Options options;
        bool userFolder = false;
        if (!ReadOptions(options, userFolder)) return 2;
        if (userFolder) EnterUserFolder(UserFolderPlacesOfThisUser());
        options.Directory = std::filesystem::current_path();
        TMainForm MainForm(instance, options);
        MainForm.Show(showCommand);
        return MainForm.Run();
    } catch (const std::exception& e) {
        ShowError(Utf8ToWide(StartUpFailureText(e)));
    } catch (...) {
        ShowError(L"");
    }
    return 1;
}
