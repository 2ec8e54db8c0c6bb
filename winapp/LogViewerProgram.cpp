#include "winapp/LogViewerProgram.h"

#include <iterator>
#include <memory>

#include "text/win32/WideText.h"
#include "winapp/TrendForm.h"
#include "window/LogWindow.h"

std::string UserDecimalSeparator() {
    wchar_t separator[8] = {};
    if (::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator,
                         static_cast<int>(std::size(separator))) == 0)
        return ".";
    return WideToUtf8(separator);
}

int RunLogViewer(HINSTANCE instance, const std::filesystem::path& folder,
                 const std::filesystem::path& file) {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    std::unique_ptr<LogWindow> log;
    TrendForm window(instance, nullptr, dpi, TrendHandlersOf(log, [] {}));
    log = OpenLogAlone(window, folder, file, UserDecimalSeparator());
    if (!log) return 1;
    window.Show();
    return window.RunAlone();
}
