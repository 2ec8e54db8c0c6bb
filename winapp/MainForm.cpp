// The window's life, its message loop and the events it hands to the behaviour.

#include "winapp/MainForm.h"

// windows.h first: the common controls' header needs its types.
#include <windows.h>

#include <commctrl.h>

#include "text/win32/WideText.h"
#include "winapp/ControlIds.h"
#include "winapp/TrendForm.h"

namespace {

// Whether a window is the form or one of its controls (the port list's edit
// and drop-down included).
bool IsInForm(HWND window, HWND form) {
    return window == form || ::IsChild(form, window);
}

}  // namespace

// A start that fails takes its window away without a quit message, which
// would end the box that tells the user why before it could be read.
TMainForm::TMainForm(HINSTANCE instance, const WindowBehaviour::Options& options)
    : instance_(instance) {
    try {
        BuildLayout();
        behaviour_ = std::make_unique<WindowBehaviour>(static_cast<WindowView&>(*this), options);
    } catch (...) {
        if (controls_.MainForm) ::DestroyWindow(controls_.MainForm);
        throw;
    }
    started_ = true;
    // At start the window itself has the focus: an arrow key on the port list
    // would move polling to another port, and on the tab bar turn the page.
    ::SetFocus(controls_.MainForm);
}

TMainForm::~TMainForm() {
    CloseQuery();
    if (controls_.MainForm) ::DestroyWindow(controls_.MainForm);
    for (HFONT font : {fonts_.Window, fonts_.Page, fonts_.Cell, fonts_.Value, fonts_.Rows})
        if (font) ::DeleteObject(font);
    if (buttonFace_) ::DeleteObject(buttonFace_);
}

void TMainForm::Show(int showCommand) {
    ::ShowWindow(controls_.MainForm, showCommand);
    ::UpdateWindow(controls_.MainForm);
}

int TMainForm::Run() {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (PreTranslate(message)) continue;
        // Tab moves between the controls, as in a dialog.
        if (controls_.MainForm && ::IsDialogMessageW(controls_.MainForm, &message)) continue;
        if (trend_->Handle() && ::IsDialogMessageW(trend_->Handle(), &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

// F1 to F4 turn the pages and every key clears the link flag (the behaviour's
// rule); F5 to F9 are the actions' shortcuts and go no further, in the trend
// window too. F4 is kept from the port list, which would open its drop-down
// on it, while the key is there to turn the page. Any other key goes on to
// its control.
bool TMainForm::PreTranslate(const MSG& message) {
    // The log viewer's keys and wheel in the trend window.
    if (behaviour_ && ::IsWindowEnabled(controls_.MainForm) && trend_->TakeMessage(message))
        return true;
    if ((message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN) || !behaviour_ ||
        !::IsWindowEnabled(controls_.MainForm))
        return false;
    const bool inForm = IsInForm(message.hwnd, controls_.MainForm);
    if (!inForm && !trend_->Contains(message.hwnd)) return false;
    const int key = static_cast<int>(message.wParam);
    if (inForm) behaviour_->FormShortCut(key);
    if (behaviour_->ActionKey(key)) return true;
    return key == VirtualKey::F4 && IsInForm(message.hwnd, controls_.ComNumber);
}

LRESULT CALLBACK TMainForm::WindowProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(l);
        auto* form = static_cast<TMainForm*>(create->lpCreateParams);
        form->controls_.MainForm = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TMainForm*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return ::DefWindowProcW(window, message, w, l);
    return form->Handle(message, w, l);
}

LRESULT TMainForm::Handle(UINT message, WPARAM w, LPARAM l) {
    const HWND window = controls_.MainForm;
    switch (message) {
        case WM_COMMAND:
            Command(LOWORD(w), HIWORD(w));
            return 0;
        case WM_NOTIFY:
            return Notify(*reinterpret_cast<const NMHDR*>(l), l);
        case WM_DRAWITEM: {
            const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(l);
            if (draw.hwndItem == controls_.StatusBar1)
                PaintPanel(draw);
            else if (draw.CtlType == ODT_STATIC)
                PaintLabel(draw);
            return TRUE;
        }
        case WM_TIMER:
            if (w == ControlId::Timer1 && behaviour_) behaviour_->Timer1Timer();
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            // Labels, group boxes and the read-only memo on the button face.
            ::SetBkColor(reinterpret_cast<HDC>(w), ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(buttonFace_);
        case WM_CLOSE:
            if (CloseQuery()) ::DestroyWindow(window);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            // The system ends the program after this: close as the user would.
            if (w) CloseQuery();
            return 0;
        case WM_DESTROY:
            controls_.MainForm = nullptr;
            if (started_) ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(window, message, w, l);
    }
}

void TMainForm::Command(int id, int code) {
    if (!behaviour_) return;
    switch (id) {
        case ControlId::ComNumber: {
            // The arrow keys move the entry over the open list, which is no
            // pick: a list closed without one shows the port in use again. A
            // pick from the open list (of the port in use too, opened anew)
            // changes the port, and so does an arrow key on the closed list;
            // a pick that comes again as a change of the entry once the list
            // has closed finds its port in use already.
            const auto index =
                static_cast<int>(::SendMessageW(controls_.ComNumber, CB_GETCURSEL, 0, 0));
            const bool dropped = ::SendMessageW(controls_.ComNumber, CB_GETDROPPEDSTATE, 0, 0);
            if (code == CBN_SELENDCANCEL)
                ::SendMessageW(controls_.ComNumber, CB_SETCURSEL, portIndex_, 0);
            else if ((code == CBN_SELENDOK && dropped) ||
                     ((code == CBN_SELENDOK || code == CBN_SELCHANGE) && !dropped &&
                      index != portIndex_))
                PickPort(index);
            return;
        }
        case ControlId::Button1:
            if (code == BN_CLICKED) behaviour_->ADiagExecute();
            return;
        case ControlId::Button2:
            if (code == BN_CLICKED) behaviour_->AResetErrorsExecute();
            return;
        case ControlId::LanguageBtn:
            if (code == BN_CLICKED) behaviour_->LanguageBtnClick();
            return;
        default:
            return;
    }
}

LRESULT TMainForm::Notify(const NMHDR& header, LPARAM l) {
    if (header.hwndFrom == controls_.PageControl1 && header.code == TCN_SELCHANGE) {
        ShowPage(ActivePage());
        if (behaviour_) behaviour_->PageControl1Change();
        return 0;
    }
    if (header.hwndFrom != controls_.Lists[0] && header.hwndFrom != controls_.Lists[1]) return 0;
    if (header.code == NM_CUSTOMDRAW)
        return ListView1CustomDrawSubItem(*reinterpret_cast<NMLVCUSTOMDRAW*>(l));
    if (header.code == LVN_GETDISPINFOW) CellText(*reinterpret_cast<NMLVDISPINFOW*>(l));
    return 0;
}

// Closing is always allowed: polling goes off, the timer stops, and the
// session ends (its messages, if any, while the controls are still there).
bool TMainForm::CloseQuery() {
    if (!behaviour_) return true;
    if (!behaviour_->FormCloseQuery()) return false;
    if (controls_.MainForm) {
        ::KillTimer(controls_.MainForm, ControlId::Timer1);
        ::EnableWindow(controls_.MainForm, FALSE);
    }
    behaviour_.reset();
    return true;
}

void TMainForm::PickPort(int index) {
    if (index == CB_ERR) return;
    wchar_t name[64] = {};
    if (::SendMessageW(controls_.ComNumber, CB_GETLBTEXTLEN, index, 0) <
        static_cast<LRESULT>(std::size(name)))
        ::SendMessageW(controls_.ComNumber, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(name));
    portIndex_ = index;
    behaviour_->ComNumberChange(WideToUtf8(name));
}

void TMainForm::ShowPage(int page) {
    for (int i = 0; i < WindowBehaviour::PageCount; ++i)
        ::ShowWindow(controls_.TabSheets[static_cast<std::size_t>(i)],
                     i == page ? SW_SHOW : SW_HIDE);
}
