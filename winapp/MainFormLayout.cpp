// The window's controls, placed as the layout has them (pixels at 96 dots per
// inch, scaled to the display's), with the layout's fonts.

// windows.h first: the common controls' header needs its types.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>

#include "text/win32/WideText.h"
#include "winapp/ControlIds.h"
#include "winapp/MainForm.h"
#include "winapp/TrendForm.h"
#include "winapp/WindowClass.h"
#include "window/CounterText.h"

namespace {

constexpr int ClientWidth = 592;
constexpr int ClientHeight = 455;
constexpr int ToolBarHeight = 29;
constexpr int StatusBarHeight = 19;
constexpr std::array<int, 3> PanelWidths{200, 200, 50};
constexpr std::array<int, 4> ColumnWidths{100, 300, 80, 100};
constexpr DWORD FormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

constexpr const wchar_t* FormClass = L"VmxDiagMainForm";
constexpr const wchar_t* PageClass = L"VmxDiagTabSheet";

// A page hosts controls but leaves their notices, colours and painting to
// the window, as if they were its own.
LRESULT CALLBACK TabSheetProc(HWND page, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return ::SendMessageW(::GetParent(page), message, w, l);
        default:
            return ::DefWindowProcW(page, message, w, l);
    }
}

int CALLBACK FontFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// The first of the faces that the system has, else the first: the layout's
// fonts where they are installed, and where they are not (under Wine, say)
// the free fonts of the same widths, rather than whatever the system would
// take instead, whose wider letters no longer fit the layout's columns.
const wchar_t* InstalledFace(std::initializer_list<const wchar_t*> faces) {
    const HDC screen = ::GetDC(nullptr);
    const wchar_t* chosen = *faces.begin();
    for (const wchar_t* face : faces) {
        LOGFONTW wanted{};
        wanted.lfCharSet = DEFAULT_CHARSET;
        ::lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
        bool found = false;
        ::EnumFontFamiliesExW(screen, &wanted, FontFound, reinterpret_cast<LPARAM>(&found), 0);
        if (found) {
            chosen = face;
            break;
        }
    }
    ::ReleaseDC(nullptr, screen);
    return chosen;
}

HFONT Font(int height, int weight, DWORD charset, const wchar_t* face) {
    return ::CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                         CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
}

// With no window, the screen's.
int LineHeight(HWND window, HFONT font) {
    const HDC dc = ::GetDC(window);
    const HGDIOBJ old = ::SelectObject(dc, font);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SelectObject(dc, old);
    ::ReleaseDC(window, dc);
    return metrics.tmHeight;
}

}  // namespace

HWND TMainForm::Child(HWND parent, const wchar_t* type, DWORD style, int x, int y, int width,
                      int height, int id, DWORD extendedStyle) {
    const HWND child =
        ::CreateWindowExW(extendedStyle, type, L"", WS_CHILD | WS_VISIBLE | style, Scaled(x),
                          Scaled(y), Scaled(width), Scaled(height), parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Window), FALSE);
    return child;
}

void TMainForm::BuildLayout() {
    const HDC screen = ::GetDC(nullptr);
    dpi_ = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    CreateFonts();
    buttonFace_ = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    RegisterWindowClass(instance_, &TMainForm::WindowProc, FormClass);
    RegisterWindowClass(instance_, TabSheetProc, PageClass);

    // A client area of the layout's size, fixed, centred on the work area.
    RECT frame{0, 0, Scaled(ClientWidth), Scaled(ClientHeight)};
    ::AdjustWindowRectEx(&frame, FormStyle, FALSE, 0);
    RECT work{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int left = work.left + std::max<int>(0, (work.right - work.left - width) / 2);
    const int top = work.top + std::max<int>(0, (work.bottom - work.top - height) / 2);
    ::CreateWindowExW(0, FormClass, L"", FormStyle, left, top, width, height, nullptr, nullptr,
                      instance_, this);  // WM_NCCREATE keeps the handle in controls_
    ::SendMessageW(controls_.MainForm, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Window), FALSE);

    BuildToolBar();
    BuildStatusBar();
    BuildPages();
    BuildTrendWindow();
}

void TMainForm::CreateFonts() {
    // Fonts by name as the layout has them; 12 and 14 points at the display's
    // dots per inch.
    const wchar_t* sans = InstalledFace({L"MS Sans Serif", L"Liberation Sans"});
    const wchar_t* serif = InstalledFace({L"Times New Roman", L"Liberation Serif"});
    fonts_.Window = Font(Scaled(11), FW_NORMAL, DEFAULT_CHARSET, sans);
    fonts_.Page = Font(Scaled(16), FW_BOLD, RUSSIAN_CHARSET, serif);
    fonts_.Cell = Font(MulDiv(12, dpi_, 72), FW_BOLD, RUSSIAN_CHARSET, serif);
    fonts_.Value = Font(MulDiv(14, dpi_, 72), FW_BOLD, RUSSIAN_CHARSET, serif);
    // The lists' own font (see BuildParameterList): half a row.
    fonts_.Rows =
        Font((LineHeight(nullptr, fonts_.Value) + 1) / 2, FW_BOLD, RUSSIAN_CHARSET, serif);
}

// The port list and the three buttons where the layout's tool bar holds them.
void TMainForm::BuildToolBar() {
    const HWND form = controls_.MainForm;
    controls_.ComNumber = Child(form, WC_COMBOBOXW, WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                                2, 81, 21 + 200, ControlId::ComNumber);
    // The closed list as tall as the layout's 21 pixels, its frame included.
    ::SendMessageW(controls_.ComNumber, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), Scaled(21) - 6);
    controls_.Button1 =
        Child(form, WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 81, 2, 104, 22, ControlId::Button1);
    controls_.Button2 =
        Child(form, WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 185, 2, 104, 22, ControlId::Button2);
    controls_.LanguageBtn =
        Child(form, WC_BUTTONW, WS_TABSTOP | BS_PUSHBUTTON, 289, 2, 75, 22, ControlId::LanguageBtn);
}

void TMainForm::BuildStatusBar() {
    // Placed and sized here rather than by itself, so that it keeps the
    // layout's height whatever the font.
    controls_.StatusBar1 = Child(
        controls_.MainForm, STATUSCLASSNAMEW, CCS_NORESIZE | CCS_NOPARENTALIGN | CCS_NODIVIDER, 0,
        ClientHeight - StatusBarHeight, ClientWidth, StatusBarHeight, ControlId::StatusBar1);
    std::array<int, 3> edges{};
    int right = 0;
    for (std::size_t i = 0; i < edges.size(); ++i) edges[i] = Scaled(right += PanelWidths[i]);
    ::SendMessageW(controls_.StatusBar1, SB_SETPARTS, edges.size(),
                   reinterpret_cast<LPARAM>(edges.data()));
    // The panels are drawn by the window (PaintPanel) from panels_: a new
    // text then only marks its panel for the next painting, where the status
    // bar's own texts would be painted at once, inside the tick.
    for (std::size_t panel = 0; panel < edges.size(); ++panel)
        ::SendMessageW(controls_.StatusBar1, SB_SETTEXTW, panel | SBT_OWNERDRAW, panel);
    panelTips_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, controls_.MainForm,
                                   nullptr, instance_, nullptr);
}

// The trend window is made hidden with the main one, so that the behaviour
// can give it its texts from the start; F7 shows it.
void TMainForm::BuildTrendWindow() {
    trend_ = std::make_unique<TrendForm>(instance_, controls_.MainForm, dpi_,
                                         TrendHandlersOf(behaviour_));
}

// The tab control between tool bar and status bar, and a window per page over
// its display area, shown when its tab is.
void TMainForm::BuildPages() {
    const HWND form = controls_.MainForm;
    controls_.PageControl1 =
        Child(form, WC_TABCONTROLW, WS_CLIPSIBLINGS | WS_TABSTOP, 0, ToolBarHeight, ClientWidth,
              ClientHeight - ToolBarHeight - StatusBarHeight, ControlId::PageControl1);
    for (int page = 0; page < WindowBehaviour::PageCount; ++page) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(controls_.PageControl1, TCM_INSERTITEMW, page,
                       reinterpret_cast<LPARAM>(&item));
    }
    RECT area{};
    ::GetClientRect(controls_.PageControl1, &area);
    ::SendMessageW(controls_.PageControl1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    ::MapWindowPoints(controls_.PageControl1, form, reinterpret_cast<POINT*>(&area), 2);
    for (int page = 0; page < WindowBehaviour::PageCount; ++page)
        controls_.TabSheets[static_cast<std::size_t>(page)] = ::CreateWindowExW(
            WS_EX_CONTROLPARENT, PageClass, L"",
            WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (page == 0 ? WS_VISIBLE : 0), area.left,
            area.top, area.right - area.left, area.bottom - area.top, form, nullptr, instance_,
            nullptr);
    // The pages paint over the tab control, never under it.
    ::SetWindowPos(controls_.PageControl1, HWND_BOTTOM, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    BuildParameterList(0);
    BuildParameterList(1);
    BuildErrorsPage();
    BuildEcuInfoPage();
}

// A report view filling its page, with grid lines, four columns and sixteen
// rows that always fit; disabled for good, so the user cannot scroll, select
// or focus it.
void TMainForm::BuildParameterList(int list) {
    const HWND page = controls_.TabSheets[static_cast<std::size_t>(list)];
    RECT area{};
    ::GetClientRect(page, &area);
    const HWND view = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
        WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOSORTHEADER | LVS_SINGLESEL, 0, 0, area.right,
        area.bottom, page,
        reinterpret_cast<HMENU>(
            static_cast<INT_PTR>(list == 0 ? ControlId::ListView1 : ControlId::ListView2)),
        instance_, nullptr);
    ::SendMessageW(view, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Page), FALSE);
    ::SendMessageW(view, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES | LVS_EX_DOUBLEBUFFER);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    ::SendMessageW(view, LVM_SETBKCOLOR, 0, face);
    ::SendMessageW(view, LVM_SETTEXTBKCOLOR, 0, face);
    for (int column = 0; column < static_cast<int>(ColumnWidths.size()); ++column) {
        LVCOLUMNW entry{};
        entry.mask = LVCF_WIDTH | LVCF_TEXT;
        entry.cx = Scaled(ColumnWidths[static_cast<std::size_t>(column)]);
        entry.pszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(view, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&entry));
    }
    // The cells' texts are the window's own (cells_): the list asks for them
    // as it paints, so that a new value costs no more than its repainting.
    for (int row = 0; row < WindowView::ListRows; ++row) {
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = LPSTR_TEXTCALLBACKW;
        ::SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        for (item.iSubItem = 1; item.iSubItem < static_cast<int>(ColumnWidths.size());
             ++item.iSubItem)
            ::SendMessageW(view, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    }
    // Rows as tall as the Value column's 14 points need, unless sixteen of
    // them would not fit below the header. A list makes a row as tall as its
    // font needs, and the page font needs more than may fit: the list's own
    // font is a small one (each cell is drawn in its look's font anyway), the
    // header keeps the page font, and an image list of the row's height sets
    // the height, made smaller until the last row is in view.
    const int rowHeight = LineHeight(view, fonts_.Value) + 1;
    ::SendMessageW(view, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Rows), FALSE);
    ::SendMessageW(reinterpret_cast<HWND>(::SendMessageW(view, LVM_GETHEADER, 0, 0)), WM_SETFONT,
                   reinterpret_cast<WPARAM>(fonts_.Page), TRUE);
    // The list lays its header out again for the header's new font.
    ::SetWindowPos(view, nullptr, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    RECT inside{};
    ::GetClientRect(view, &inside);
    for (int height = rowHeight; height > 1; --height) {
        HIMAGELIST rows = ::ImageList_Create(1, height, ILC_COLOR, 0, 1);
        rows = reinterpret_cast<HIMAGELIST>(
            ::SendMessageW(view, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(rows)));
        if (rows) ::ImageList_Destroy(rows);  // the one set before
        RECT last{};
        last.left = LVIR_BOUNDS;
        ::SendMessageW(view, LVM_GETITEMRECT, WindowView::ListRows - 1,
                       reinterpret_cast<LPARAM>(&last));
        if (last.bottom <= inside.bottom) break;
    }
    // Scroll bars shown while the rows were taller would stay, each making
    // room short for the other.
    ::ShowScrollBar(view, SB_BOTH, FALSE);
    ::EnableWindow(view, FALSE);
    controls_.Lists[static_cast<std::size_t>(list)] = view;
}

void TMainForm::BuildErrorsPage() {
    const HWND page = controls_.TabSheets[2];
    RECT area{};
    ::GetClientRect(page, &area);
    controls_.Memo1 = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_EDITW, L"",
        WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY |
            ES_AUTOVSCROLL,
        0, 0, area.right, area.bottom, page,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId::Memo1)), instance_, nullptr);
    ::SendMessageW(controls_.Memo1, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.Page), FALSE);
}

// Two group boxes: the identification above, with each box's label to its
// left, and the hour counters below. The labels are painted by the window
// (PaintLabel); the counter boxes show their mask until the first read.
void TMainForm::BuildEcuInfoPage() {
    const HWND page = controls_.TabSheets[3];
    RECT area{};
    ::GetClientRect(page, &area);
    constexpr int UpperHeight = 217;
    constexpr int EditLeft = 248;
    constexpr int LabelSpacing = 3;
    const int pageWidth = MulDiv(area.right, 96, dpi_);
    const int pageHeight = MulDiv(area.bottom, 96, dpi_);
    controls_.GroupBox2 =
        Child(page, WC_BUTTONW, BS_GROUPBOX | WS_CLIPSIBLINGS, 0, 0, pageWidth, UpperHeight);
    controls_.GroupBox1 = Child(page, WC_BUTTONW, BS_GROUPBOX | WS_CLIPSIBLINGS, 0, UpperHeight,
                                pageWidth, pageHeight - UpperHeight);
    for (std::size_t i = 0; i < controls_.LabeledEdits.size(); ++i) {
        const int top = 16 + 24 * static_cast<int>(i);
        // Clear of the group box's frame on the left.
        controls_.EditLabels[i] =
            Child(page, WC_STATICW, SS_OWNERDRAW, 3, top, EditLeft - LabelSpacing - 3, 21);
        controls_.LabeledEdits[i] = Child(page, WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, EditLeft,
                                          top, 121, 21, 0, WS_EX_CLIENTEDGE);
    }
    for (std::size_t i = 0; i < controls_.Labels.size(); ++i) {
        const int row = 24 * static_cast<int>(i);
        controls_.Labels[i] =
            Child(page, WC_STATICW, SS_OWNERDRAW, i == 5 ? 8 : 10, UpperHeight + 20 + row, 233, 13);
        controls_.MaskEdits[i] = Child(page, WC_EDITW, WS_TABSTOP | ES_AUTOHSCROLL, EditLeft,
                                       UpperHeight + 16 + row, 120, 21, 0, WS_EX_CLIENTEDGE);
        ::SetWindowTextW(controls_.MaskEdits[i], Utf8ToWide(PlaceCounter({}).Shown).c_str());
    }
    // The frames under the boxes and labels they surround.
    for (HWND frame : {controls_.GroupBox2, controls_.GroupBox1})
        ::SetWindowPos(frame, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}
