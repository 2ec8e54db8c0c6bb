// What the behaviour shows, put into the controls as UTF-16 (the window's view
// tells which texts differ from what a control shows: window/WindowView.cpp;
// a caption is compared here).

// windows.h first: the common controls' header needs its types.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <climits>
#include <vector>

#include "text/win32/WideText.h"
#include "winapp/ControlIds.h"
#include "winapp/LogViewerProgram.h"
#include "winapp/MainForm.h"
#include "winapp/TrendForm.h"

namespace {

std::wstring TextOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

void SetText(HWND control, const std::wstring& text) {
    if (TextOf(control) != text) ::SetWindowTextW(control, text.c_str());
}

}  // namespace

void TMainForm::SetTitle(const std::string& text) {
    ::SetWindowTextW(controls_.MainForm, Utf8ToWide(text).c_str());
}

void TMainForm::SetActionCaption(Action action, const std::string& text) {
    SetText(action == Action::ADiag ? controls_.Button1 : controls_.Button2, Utf8ToWide(text));
}

void TMainForm::SetLanguageButtonCaption(const std::string& text) {
    SetText(controls_.LanguageBtn, Utf8ToWide(text));
}

// The tab control repaints the tabs it then has: a longer caption before
// would leave its end beside the new tabs. The whole strip is painted anew.
void TMainForm::SetPageCaption(int page, const std::string& text) {
    std::wstring caption = Utf8ToWide(text);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    ::SendMessageW(controls_.PageControl1, TCM_SETITEMW, page, reinterpret_cast<LPARAM>(&item));
    ::InvalidateRect(controls_.PageControl1, nullptr, TRUE);
}

void TMainForm::SetColumnHeader(int list, int column, const std::string& text) {
    std::wstring header = Utf8ToWide(text);
    LVCOLUMNW entry{};
    entry.mask = LVCF_TEXT;
    entry.pszText = header.data();
    ::SendMessageW(controls_.Lists[static_cast<std::size_t>(list)], LVM_SETCOLUMNW, column,
                   reinterpret_cast<LPARAM>(&entry));
}

// A blank after the text keeps the right-aligned text off its label's edge.
void TMainForm::SetBoxLabel(int box, const std::string& text) {
    const auto index = static_cast<std::size_t>(box);
    const HWND label = index < controls_.EditLabels.size()
                           ? controls_.EditLabels[index]
                           : controls_.Labels[index - controls_.EditLabels.size()];
    SetText(label, Utf8ToWide(text) + L' ');
    ::InvalidateRect(label, nullptr, FALSE);
}

// Right-aligned and centred in height, each letter at the advance the font
// reports: some fonts (Wine's stand-ins among them) place their letters by
// other widths when left to themselves, and a right-aligned text measured by
// one and drawn by the other lost its last letter past the label's edge.
void TMainForm::PaintLabel(const DRAWITEMSTRUCT& draw) const {
    const HDC dc = draw.hDC;
    const RECT& area = draw.rcItem;
    ::FillRect(dc, &area, buttonFace_);
    const std::wstring text = TextOf(draw.hwndItem);
    if (text.empty()) return;
    const HGDIOBJ oldFont = ::SelectObject(dc, fonts_.Window);
    const int length = static_cast<int>(text.size());
    std::vector<int> ends(text.size()), advances(text.size());
    SIZE size{};
    int fitted = 0;
    ::GetTextExtentExPointW(dc, text.c_str(), length, INT_MAX, &fitted, ends.data(), &size);
    for (std::size_t i = 0; i < ends.size(); ++i) advances[i] = ends[i] - (i ? ends[i - 1] : 0);
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    ::ExtTextOutW(dc, area.right - size.cx,
                  area.top + (area.bottom - area.top - metrics.tmHeight) / 2, ETO_CLIPPED, &area,
                  text.c_str(), static_cast<UINT>(length), advances.data());
    ::SelectObject(dc, oldFont);
}

void TMainForm::AddPortName(const std::string& name) {
    ::SendMessageW(controls_.ComNumber, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>(Utf8ToWide(name).c_str()));
}

void TMainForm::SelectPort(int index) {
    if (index >= ::SendMessageW(controls_.ComNumber, CB_GETCOUNT, 0, 0)) return;
    ::SendMessageW(controls_.ComNumber, CB_SETCURSEL, index, 0);
    portIndex_ = index;
}

std::string TMainForm::ShownCell(int list, int row, int column) const {
    return WideToUtf8(cells_[static_cast<std::size_t>(list)][static_cast<std::size_t>(row)]
                            [static_cast<std::size_t>(column)]);
}

// The list takes the text from cells_ when it paints the cell (CellText); a
// changed cell is only painted again.
void TMainForm::PutCell(int list, int row, int column, const std::string& text) {
    cells_[static_cast<std::size_t>(list)][static_cast<std::size_t>(row)]
          [static_cast<std::size_t>(column)] = Utf8ToWide(text);
    InvalidateCell(list, row, column);
}

void TMainForm::InvalidateCell(int list, int row, int column) const {
    const HWND view = controls_.Lists[static_cast<std::size_t>(list)];
    RECT area{};
    area.top = column;
    area.left = LVIR_BOUNDS;
    if (::SendMessageW(view, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&area)))
        ::InvalidateRect(view, &area, FALSE);
}

void TMainForm::SetValueWarning(int list, int row, bool warning) {
    warnings_[static_cast<std::size_t>(list)][static_cast<std::size_t>(row)] = warning;
    InvalidateCell(list, row, ValueColumn);
}

void TMainForm::CellText(NMLVDISPINFOW& request) const {
    LVITEMW& item = request.item;
    if (!(item.mask & LVIF_TEXT) || item.cchTextMax <= 0) return;
    const int list = request.hdr.hwndFrom == controls_.Lists[0] ? 0 : 1;
    const std::wstring& text =
        cells_[static_cast<std::size_t>(list)][static_cast<std::size_t>(item.iItem)]
              [static_cast<std::size_t>(item.iSubItem)];
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(item.cchTextMax) - 1);
    text.copy(item.pszText, length);
    item.pszText[length] = L'\0';
}

void TMainForm::SetListStale(int list, bool stale) {
    stale_[static_cast<std::size_t>(list)] = stale;
    ::InvalidateRect(controls_.Lists[static_cast<std::size_t>(list)], nullptr, FALSE);
}

// The edit control ends its lines with CR LF.
std::string TMainForm::ShownMemo() const {
    std::wstring lines = TextOf(controls_.Memo1);
    std::erase(lines, L'\r');
    return WideToUtf8(lines);
}

void TMainForm::PutMemo(const std::string& text) {
    std::wstring lines;
    for (wchar_t c : Utf8ToWide(text)) {
        if (c == L'\n') lines += L'\r';
        lines += c;
    }
    ::SetWindowTextW(controls_.Memo1, lines.c_str());
}

std::string TMainForm::ShownBox(int box) const {
    return WideToUtf8(TextOf(controls_.LabeledEdits[static_cast<std::size_t>(box)]));
}

void TMainForm::PutBox(int box, const std::string& text) {
    ::SetWindowTextW(controls_.LabeledEdits[static_cast<std::size_t>(box)],
                     Utf8ToWide(text).c_str());
}

std::string TMainForm::ShownCounter(int counter) const {
    return WideToUtf8(TextOf(controls_.MaskEdits[static_cast<std::size_t>(counter)]));
}

// No mask here: the box shows the counter as the mask would lay it out.
void TMainForm::PutCounter(int counter, const CounterText& text) {
    ::SetWindowTextW(controls_.MaskEdits[static_cast<std::size_t>(counter)],
                     Utf8ToWide(text.Shown).c_str());
}

std::string TMainForm::ShownPanel(int panel) const {
    return WideToUtf8(panels_[static_cast<std::size_t>(panel)]);
}

void TMainForm::PutPanel(int panel, const std::string& text) {
    panels_[static_cast<std::size_t>(panel)] = Utf8ToWide(text);
    RECT area{};
    if (::SendMessageW(controls_.StatusBar1, SB_GETRECT, static_cast<WPARAM>(panel),
                       reinterpret_cast<LPARAM>(&area)))
        ::InvalidateRect(controls_.StatusBar1, &area, TRUE);
}

void TMainForm::PaintPanel(const DRAWITEMSTRUCT& draw) const {
    if (draw.itemID >= panels_.size()) return;
    RECT area = draw.rcItem;
    area.left += Scaled(2);
    ::SetBkMode(draw.hDC, TRANSPARENT);
    ::SetTextColor(draw.hDC, ::GetSysColor(COLOR_BTNTEXT));
    const std::wstring& text = panels_[draw.itemID];
    ::DrawTextW(draw.hDC, text.c_str(), static_cast<int>(text.size()), &area,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// The tip of a panel is a tool of the status bar over the panel's rectangle,
// there while the tip has a text.
void TMainForm::SetPanelTip(int panel, const std::string& tip) {
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = controls_.StatusBar1;
    tool.uId = static_cast<UINT_PTR>(panel);
    ::SendMessageW(panelTips_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    if (tip.empty()) return;
    std::wstring text = Utf8ToWide(tip);
    tool.uFlags = TTF_SUBCLASS;
    tool.lpszText = text.data();
    ::SendMessageW(controls_.StatusBar1, SB_GETRECT, static_cast<WPARAM>(panel),
                   reinterpret_cast<LPARAM>(&tool.rect));
    ::SendMessageW(panelTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

TrendView& TMainForm::Trend() {
    return *trend_;
}

int TMainForm::ActivePage() const {
    return static_cast<int>(::SendMessageW(controls_.PageControl1, TCM_GETCURSEL, 0, 0));
}

// The tab control says nothing of a change it is told to make.
void TMainForm::SetActivePage(int page) {
    ::SendMessageW(controls_.PageControl1, TCM_SETCURSEL, page, 0);
    ShowPage(page);
}

// A timer set again starts its interval anew, so the 220 ms count from the
// end of the tick that sets it.
void TMainForm::SetTimerEnabled(bool enabled) {
    if (enabled)
        ::SetTimer(controls_.MainForm, ControlId::Timer1, WindowBehaviour::TickMs, nullptr);
    else
        ::KillTimer(controls_.MainForm, ControlId::Timer1);
}

void TMainForm::ShowMessage(const std::string& text, Icon icon) {
    ::MessageBoxW(nullptr, Utf8ToWide(text).c_str(), Utf8ToWide(MessageCaption).c_str(),
                  MB_OK | (icon == Icon::Error ? MB_ICONERROR : 0));
}

void TMainForm::ShowNotice(const std::string& caption, const std::string& text) {
    ::MessageBoxW(nullptr, Utf8ToWide(text).c_str(), Utf8ToWide(caption).c_str(),
                  MB_OK | MB_ICONINFORMATION);
}

// The shell's verb for the file's kind. A file it finds no program for stays
// where it is without a box of the shell's: the window has said its path.
void TMainForm::OpenFile(const std::filesystem::path& path) {
    const std::wstring file = path.wstring();
    SHELLEXECUTEINFOW open{};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_FLAG_NO_UI;
    open.hwnd = controls_.MainForm;
    open.lpVerb = L"open";
    open.lpFile = file.c_str();
    open.nShow = SW_SHOWNORMAL;
    ::ShellExecuteExW(&open);
}

// The user's regional settings, as the separator of the value texts.
std::string TMainForm::DecimalSeparator() const {
    return UserDecimalSeparator();
}
