#include "winapp/TrendForm.h"

#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <iterator>

#include "text/win32/WideText.h"
#include "winapp/CellColourWin.h"
#include "winapp/WindowClass.h"
#include "window/WindowView.h"

namespace {

constexpr const wchar_t* FormClass = L"VmxDiagTrendForm";
constexpr const wchar_t* PlotClass = L"VmxDiagTrendPlot";
constexpr int RowsId = 201, PeriodId = 202, OpenId = 203, BackId = 204;
// Sizes at 96 dots per inch.
constexpr int ListWidth = 200, Gap = 4, LabelHeight = 16, ComboHeight = 22, ButtonHeight = 24;
// Around a row's tick box and text.
constexpr int RowMargins = 16;
constexpr int FirstWidth = 640, FirstHeight = 440, SmallestWidth = 420, SmallestHeight = 260;

void DrawLines(HDC dc, const std::vector<TrendLine>& lines, int width) {
    std::vector<POINT> points;
    for (const TrendLine& line : lines) {
        const HPEN pen = ::CreatePen(PS_SOLID, width, SystemColour(line.Colour));
        const HGDIOBJ old = ::SelectObject(dc, pen);
        points.clear();
        for (const TrendPixel& pixel : line.Points) points.push_back({pixel.X, pixel.Y});
        // A piece of one read: a dot, the stroke of a line one pixel long.
        if (points.size() == 1) points.push_back({points[0].x + 1, points[0].y});
        if (points.size() > 1) ::Polyline(dc, points.data(), static_cast<int>(points.size()));
        ::SelectObject(dc, old);
        ::DeleteObject(pen);
    }
}

}  // namespace

TrendForm::TrendForm(HINSTANCE instance, HWND owner, int dpi, Handlers handlers)
    : instance_(instance),
      owner_(owner),
      dpi_(dpi),
      handlers_(std::move(handlers)),
      canvas_(handlers_.Plot),
      listWidth_(Scaled(ListWidth)) {
    RegisterWindowClass(instance_, &TrendForm::FormProc, FormClass);
    RegisterWindowClass(instance_, &TrendForm::PlotProc, PlotClass, true);
    font_ = ::CreateFontW(-Scaled(13), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
    // Owned by the main window: it goes with it, and never behind it.
    ::CreateWindowExW(WS_EX_CONTROLPARENT, FormClass, L"", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                      CW_USEDEFAULT, CW_USEDEFAULT, Scaled(FirstWidth), Scaled(FirstHeight), owner_,
                      nullptr, instance_, this);  // WM_NCCREATE keeps the handle in form_
    const auto child = [&](const wchar_t* type, DWORD style, int id, DWORD extended = 0) {
        const HWND control =
            ::CreateWindowExW(extended, type, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, form_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, this);
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        return control;
    };
    label_ = child(WC_STATICW, SS_LEFT, 0);
    rows_ = child(WC_LISTVIEWW,
                  WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
                  RowsId, WS_EX_CLIENTEDGE);
    ::SendMessageW(rows_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    ::SendMessageW(rows_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    period_ = child(WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, PeriodId);
    for (int i = 0; i < 2; ++i)
        ::SendMessageW(period_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L""));
    plot_ = child(PlotClass, 0, 0);
    open_ = child(WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, OpenId);
    back_ = child(WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, BackId);
    ::ShowWindow(back_, SW_HIDE);
    ::SendMessageW(form_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    Layout();
}

TrendForm::~TrendForm() {
    if (form_) ::DestroyWindow(form_);  // unless its owner took it along
    if (font_) ::DeleteObject(font_);
}

void TrendForm::SetTexts(const std::string& title, const std::string& rowsCaption,
                         const std::string& minute, const std::string& fiveMinutes) {
    ::SetWindowTextW(form_, Utf8ToWide(title).c_str());
    ::SetWindowTextW(label_, Utf8ToWide(rowsCaption).c_str());
    const auto selected = ::SendMessageW(period_, CB_GETCURSEL, 0, 0);
    ::SendMessageW(period_, CB_RESETCONTENT, 0, 0);
    for (const std::string& text : {minute, fiveMinutes})
        ::SendMessageW(period_, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(Utf8ToWide(text).c_str()));
    ::SendMessageW(period_, CB_SETCURSEL, selected, 0);
}

void TrendForm::SetRows(const std::vector<std::string>& names, const std::vector<bool>& chosen) {
    settingRows_ = true;
    const int count = static_cast<int>(names.size());
    if (::SendMessageW(rows_, LVM_GETITEMCOUNT, 0, 0) != count) {
        ::SendMessageW(rows_, LVM_DELETEALLITEMS, 0, 0);
        for (int row = 0; row < count; ++row) {
            LVITEMW item{};
            item.iItem = row;
            ::SendMessageW(rows_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    for (int row = 0; row < count; ++row) {
        std::wstring text = Utf8ToWide(names[static_cast<std::size_t>(row)]);
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text.data();
        ::SendMessageW(rows_, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        const bool ticked =
            static_cast<std::size_t>(row) < chosen.size() && chosen[static_cast<std::size_t>(row)];
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
        ::SendMessageW(rows_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
    settingRows_ = false;
    FitList();
}

// The widest row's text, its tick box and the margins around them, the
// list's frame and a scroll bar, which a short window shows.
void TrendForm::FitList() {
    int widest = 0;
    const int count = static_cast<int>(::SendMessageW(rows_, LVM_GETITEMCOUNT, 0, 0));
    wchar_t text[256];
    for (int row = 0; row < count; ++row) {
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text;
        item.cchTextMax = static_cast<int>(std::size(text));
        ::SendMessageW(rows_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        widest = std::max(widest, static_cast<int>(::SendMessageW(rows_, LVM_GETSTRINGWIDTHW, 0,
                                                                  reinterpret_cast<LPARAM>(text))));
    }
    int box = 0, boxHeight = 0;
    if (const HIMAGELIST boxes =
            reinterpret_cast<HIMAGELIST>(::SendMessageW(rows_, LVM_GETIMAGELIST, LVSIL_STATE, 0)))
        ::ImageList_GetIconSize(boxes, &box, &boxHeight);
    const int wanted = std::max(Scaled(ListWidth), widest + box + Scaled(RowMargins) +
                                                       2 * ::GetSystemMetrics(SM_CXEDGE) +
                                                       ::GetSystemMetrics(SM_CXVSCROLL));
    if (wanted == listWidth_) return;
    const int grown = wanted - listWidth_;
    listWidth_ = wanted;
    RECT frame{};
    ::GetWindowRect(form_, &frame);
    ::SetWindowPos(form_, nullptr, 0, 0, frame.right - frame.left + grown, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Layout();
}

void TrendForm::SetPeriod(int period) {
    ::SendMessageW(period_, CB_SETCURSEL, period, 0);
}

std::optional<TrendScreen> TrendForm::Screen() const {
    RECT owner{}, own{};
    ::GetWindowRect(owner_, &owner);
    ::GetWindowRect(form_, &own);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    return TrendScreen{{owner.left, owner.top, owner.right - owner.left, owner.bottom - owner.top},
                       own.right - own.left,
                       own.bottom - own.top,
                       {work.left, work.top, work.right - work.left, work.bottom - work.top},
                       Scaled(8)};
}

void TrendForm::MoveTo(int x, int y) {
    ::SetWindowPos(form_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TrendForm::Show() {
    ::ShowWindow(form_, SW_SHOW);
    ::SetForegroundWindow(form_);
}

void TrendForm::Redraw() {
    if (!::IsWindowVisible(form_)) return;
    RECT client{};
    ::GetClientRect(plot_, &client);
    const auto areas = canvas_.Refresh(client.right, client.bottom);
    if (!areas) {
        ::InvalidateRect(plot_, nullptr, FALSE);
        return;
    }
    for (const TrendArea& area : *areas) {
        const RECT rect{area.X, area.Y, area.X + area.Width, area.Y + area.Height};
        ::InvalidateRect(plot_, &rect, FALSE);
    }
}

void TrendForm::SetLogControls(const std::string& open, const std::string& back, bool live) {
    ::SetWindowTextW(open_, Utf8ToWide(open).c_str());
    ::SetWindowTextW(back_, Utf8ToWide(back).c_str());
    backShown_ = !back.empty();
    ::ShowWindow(back_, backShown_ ? SW_SHOW : SW_HIDE);
    ::ShowWindow(period_, live ? SW_SHOW : SW_HIDE);
    live_ = live;
    Layout();
}

// The filter "Logs (*.csv)" as the dialog takes it: the text, then the
// pattern in its parentheses, each ended by a nul.
std::optional<std::filesystem::path> TrendForm::AskLogFile(const std::string& title,
                                                           const std::string& filter,
                                                           const std::filesystem::path& folder) {
    std::wstring filters = Utf8ToWide(filter);
    const auto open = filters.rfind(L'('), close = filters.rfind(L')');
    const std::wstring pattern = open != std::wstring::npos && close > open
                                     ? filters.substr(open + 1, close - open - 1)
                                     : L"*.csv";
    filters += L'\0' + pattern + L'\0' + L'\0';
    const std::wstring wideTitle = Utf8ToWide(title);
    const std::wstring start = folder.wstring();
    wchar_t file[MAX_PATH * 4] = {};
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = form_;
    dialog.lpstrFilter = filters.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = static_cast<DWORD>(std::size(file));
    dialog.lpstrInitialDir = start.c_str();
    dialog.lpstrTitle = wideTitle.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!::GetOpenFileNameW(&dialog)) return std::nullopt;
    return std::filesystem::path(file);
}

void TrendForm::ShowLogMessage(const std::string& text) {
    ::MessageBoxW(::IsWindowVisible(form_) ? form_ : nullptr, Utf8ToWide(text).c_str(),
                  Utf8ToWide(WindowView::MessageCaption).c_str(), MB_OK | MB_ICONERROR);
}

bool TrendForm::TakeMessage(const MSG& message) {
    if (!form_ || !Contains(message.hwnd)) return false;
    if (message.message == WM_KEYDOWN && handlers_.Key)
        return handlers_.Key(static_cast<int>(message.wParam), ::GetKeyState(VK_CONTROL) < 0);
    if (message.message == WM_MOUSEWHEEL && handlers_.Wheel) {
        POINT at{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
        ::ScreenToClient(plot_, &at);
        RECT area{};
        ::GetClientRect(plot_, &area);
        if (!::PtInRect(&area, at)) return false;
        handlers_.Wheel(GET_WHEEL_DELTA_WPARAM(message.wParam) / WHEEL_DELTA, at.x);
        return true;
    }
    return false;
}

int TrendForm::RunAlone() {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (TakeMessage(message)) continue;
        if (form_ && ::IsDialogMessageW(form_, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

bool TrendForm::Contains(HWND window) const {
    return window == form_ || ::IsChild(form_, window);
}

LRESULT CALLBACK TrendForm::FormProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE) {
        auto* form =
            static_cast<TrendForm*>(reinterpret_cast<const CREATESTRUCTW*>(l)->lpCreateParams);
        form->form_ = window;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TrendForm*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!form) return ::DefWindowProcW(window, message, w, l);
    return form->Handle(window, message, w, l);
}

LRESULT CALLBACK TrendForm::PlotProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_NCCREATE)
        ::SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<const CREATESTRUCTW*>(l)->lpCreateParams));
    auto* form = reinterpret_cast<TrendForm*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (form) {
                form->PaintPlot();
                return 0;
            }
            break;
        // The log viewer's mouse: a press held through the drag.
        case WM_LBUTTONDOWN:
            ::SetFocus(window);
            ::SetCapture(window);
            if (form && form->handlers_.Press) form->handlers_.Press(GET_X_LPARAM(l));
            return 0;
        case WM_MOUSEMOVE:
            if (form && (w & MK_LBUTTON) && ::GetCapture() == window && form->handlers_.Drag)
                form->handlers_.Drag(GET_X_LPARAM(l));
            return 0;
        case WM_LBUTTONUP:
            if (::GetCapture() == window) ::ReleaseCapture();
            if (form && form->handlers_.Release) form->handlers_.Release(GET_X_LPARAM(l));
            return 0;
        default:
            break;
    }
    return ::DefWindowProcW(window, message, w, l);
}

LRESULT TrendForm::Handle(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_SIZE:
            Layout();
            return 0;
        case WM_GETMINMAXINFO: {
            auto& limits = *reinterpret_cast<MINMAXINFO*>(l);
            limits.ptMinTrackSize = {Scaled(SmallestWidth) + listWidth_ - Scaled(ListWidth),
                                     Scaled(SmallestHeight)};
            return 0;
        }
        case WM_COMMAND:
            if (LOWORD(w) == PeriodId && HIWORD(w) == CBN_SELCHANGE)
                handlers_.PeriodChosen(
                    static_cast<int>(::SendMessageW(period_, CB_GETCURSEL, 0, 0)));
            if (LOWORD(w) == OpenId && HIWORD(w) == BN_CLICKED && handlers_.OpenLog)
                handlers_.OpenLog();
            if (LOWORD(w) == BackId && HIWORD(w) == BN_CLICKED && handlers_.BackToLive)
                handlers_.BackToLive();
            return 0;
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(l);
            if (header.hwndFrom == rows_ && header.code == LVN_ITEMCHANGED && !settingRows_) {
                const auto& change = *reinterpret_cast<const NMLISTVIEW*>(l);
                if ((change.uChanged & LVIF_STATE) &&
                    ((change.uNewState ^ change.uOldState) & LVIS_STATEIMAGEMASK))
                    RowsTicked();
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC:
            ::SetBkColor(reinterpret_cast<HDC>(w), ::GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
        case WM_CLOSE:
            // Hidden, not destroyed: F7 shows it again as it was. The viewer
            // alone ends with it.
            ::ShowWindow(form_, SW_HIDE);
            handlers_.Closed();
            if (!owner_) ::PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY:
            // Destroyed with its owner, before this object may be.
            ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            form_ = nullptr;
            return ::DefWindowProcW(window, message, w, l);
        default:
            return ::DefWindowProcW(window, message, w, l);
    }
}

// The rows and the period on the left, the plot filling the rest.
void TrendForm::Layout() {
    if (!back_) return;  // not all made yet
    RECT area{};
    ::GetClientRect(form_, &area);
    const int gap = Scaled(Gap), list = listWidth_;
    const int label = Scaled(LabelHeight), combo = Scaled(ComboHeight);
    const int right = static_cast<int>(area.right), bottom = static_cast<int>(area.bottom) - gap;
    ::MoveWindow(label_, gap, gap, list, label, TRUE);
    // From the bottom up: the button back to live while it shows, the one
    // that opens a log, and the period while the trend is live.
    const int button = Scaled(ButtonHeight);
    int low = bottom;
    if (backShown_) {
        low -= button;
        ::MoveWindow(back_, gap, low, list, button, TRUE);
        low -= gap;
    }
    low -= button;
    ::MoveWindow(open_, gap, low, list, button, TRUE);
    if (live_) {
        low -= gap + combo;
        ::MoveWindow(period_, gap, low, list, combo + Scaled(80), TRUE);
    }
    ::MoveWindow(rows_, gap, gap + label, list, std::max(0, low - gap - (gap + label)), TRUE);
    // The one column as wide as the list inside its frame.
    RECT inside{};
    ::GetClientRect(rows_, &inside);
    ::SendMessageW(rows_, LVM_SETCOLUMNWIDTH, 0, inside.right);
    const int plotLeft = 2 * gap + list;
    ::MoveWindow(plot_, plotLeft, gap, std::max(1, right - gap - plotLeft),
                 std::max(1, bottom - gap), TRUE);
}

// Every row ticked, in list order; the behaviour keeps those chosen before.
void TrendForm::RowsTicked() {
    std::vector<int> rows;
    const int count = static_cast<int>(::SendMessageW(rows_, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < count; ++row) {
        const auto state = ::SendMessageW(rows_, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
        if ((state & LVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2)) rows.push_back(row);
    }
    handlers_.RowsChosen(rows);
}

// Into a bitmap first, then onto the screen at once: a plot painted at every
// tick would flicker otherwise.
void TrendForm::PaintPlot() {
    PAINTSTRUCT paint;
    const HDC screen = ::BeginPaint(plot_, &paint);
    RECT area{};
    ::GetClientRect(plot_, &area);
    const int width = area.right, height = area.bottom;
    const HDC dc = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap =
        ::CreateCompatibleBitmap(screen, std::max(1, width), std::max(1, height));
    const HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);

    const TrendPicture& picture = canvas_.Picture(width, height);
    // Only what is to be painted anew reaches the back buffer and the screen.
    ::IntersectClipRect(dc, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right,
                        paint.rcPaint.bottom);
    const HBRUSH background = ::CreateSolidBrush(SystemColour(picture.Background));
    ::FillRect(dc, &area, background);
    ::DeleteObject(background);
    DrawLines(dc, picture.Grid, 1);
    DrawLines(dc, picture.Curves, 2);
    // Dense curves as runs, two pixels wide as the strokes are.
    for (const TrendRuns& runs : picture.Runs) {
        const HBRUSH brush = ::CreateSolidBrush(SystemColour(runs.Colour));
        for (const TrendRun& run : runs.Runs) {
            const RECT column{run.X, run.Top, run.X + 2, run.Bottom + 1};
            ::FillRect(dc, &column, brush);
        }
        ::DeleteObject(brush);
    }
    // The marks share a colour: one brush while it stays the same.
    HBRUSH brush = nullptr;
    COLORREF brushColour = 0;
    for (const TrendMark& mark : picture.Marks) {
        if (!brush || SystemColour(mark.Colour) != brushColour) {
            if (brush) ::DeleteObject(brush);
            brushColour = SystemColour(mark.Colour);
            brush = ::CreateSolidBrush(brushColour);
        }
        const RECT square{mark.At.X - TrendMarkSize / 2, mark.At.Y - TrendMarkSize / 2,
                          mark.At.X + TrendMarkSize / 2 + 1, mark.At.Y + TrendMarkSize / 2 + 1};
        ::FillRect(dc, &square, brush);
    }
    if (brush) ::DeleteObject(brush);
    const HGDIOBJ oldFont = ::SelectObject(dc, font_);
    ::SetBkMode(dc, TRANSPARENT);
    for (const auto* texts : {&picture.Labels, &picture.Values})
        for (const TrendText& text : *texts) {
            ::SetTextColor(dc, SystemColour(text.Colour));
            const std::wstring wide = Utf8ToWide(text.Text);
            ::TextOutW(dc, text.At.X, text.At.Y, wide.c_str(), static_cast<int>(wide.size()));
        }
    ::SelectObject(dc, oldFont);

    ::BitBlt(screen, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ::SelectObject(dc, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::EndPaint(plot_, &paint);
}
