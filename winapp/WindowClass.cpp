#include "winapp/WindowClass.h"

void RegisterWindowClass(HINSTANCE instance, WNDPROC proc, const wchar_t* name, bool paintsAll) {
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = proc;
    form.hInstance = instance;
    // The program's icon (resource 1) in the title bar and the taskbar; none
    // in a program without it, such as a test's.
    form.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(1));
    form.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = paintsAll ? nullptr : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = name;
    ::RegisterClassExW(&form);
}
