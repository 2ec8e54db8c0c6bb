#pragma once
// The command identifiers of the controls that report to the window, and of
// its timer.

#include <windows.h>

namespace ControlId {
enum : int {
    ComNumber = 101,
    Button1,
    Button2,
    LanguageBtn,
    PageControl1,
    ListView1,
    ListView2,
    Memo1,
    StatusBar1,
};
constexpr UINT_PTR Timer1 = 1;
}  // namespace ControlId
