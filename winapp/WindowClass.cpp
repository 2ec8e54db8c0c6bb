#include "winapp/WindowClass.h"

void RegisterWindowClass(HINSTANCE instance, WNDPROC proc, const wchar_t* name, bool paintsAll) {
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = proc;
    form.hInstance = instance;
    form.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = paintsAll ? nullptr : reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = name;
    ::RegisterClassExW(&form);
}
