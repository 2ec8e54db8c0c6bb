#pragma once
// The command identifiers of the controls that report to the window, and of
// its timer.

#include <windows.h>

namespace ControlId {
constexpr int ComNumber = 101;
constexpr int Button1 = 102;
constexpr int Button2 = 103;
constexpr int LanguageBtn = 104;
constexpr int PageControl1 = 105;
constexpr int ListView1 = 106;
constexpr int ListView2 = 107;
constexpr int Memo1 = 108;
constexpr int StatusBar1 = 109;
constexpr UINT_PTR Timer1 = 1;
}  // namespace ControlId
