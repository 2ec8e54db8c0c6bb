// ListView1CustomDrawSubItem, for every cell of either list: the colours and
// the font size of the cell's look, the font name and weight the list's; and
// the list's grid, drawn over the whole list once its cells are painted.

// windows.h first: the common controls' header needs its types.
#include <windows.h>

#include <commctrl.h>

#include "winapp/CellColourWin.h"
#include "winapp/MainForm.h"
#include "window/CellLook.h"

namespace {

// The grid in the button shadow: the list's own grid lines come in a colour
// close to the button face, the list's colour (under Wine the button face
// itself, drawn after the cells), so they would not show. A line under every
// row across the columns, and a line at the right of every column from the
// first row to the last. The painting's clip keeps a cell's repainting to the
// lines of that cell.
void DrawGrid(const NMCUSTOMDRAW& paint) {
    const HWND view = paint.hdr.hwndFrom;
    const auto rows = static_cast<int>(::SendMessageW(view, LVM_GETITEMCOUNT, 0, 0));
    const HWND header = reinterpret_cast<HWND>(::SendMessageW(view, LVM_GETHEADER, 0, 0));
    const auto columns = static_cast<int>(::SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    if (rows <= 0 || columns <= 0) return;
    const auto rowRect = [view](int row) {
        RECT rect{};
        rect.left = LVIR_BOUNDS;
        ::SendMessageW(view, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&rect));
        return rect;
    };
    const RECT first = rowRect(0);
    const RECT last = rowRect(rows - 1);
    LONG right = first.left;
    for (int column = 0; column < columns; ++column)
        right += static_cast<LONG>(::SendMessageW(view, LVM_GETCOLUMNWIDTH, column, 0));

    const HDC dc = paint.hdc;
    const HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(DC_PEN));
    ::SetDCPenColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
    for (int row = 0; row < rows; ++row) {
        const LONG y = rowRect(row).bottom - 1;
        ::MoveToEx(dc, first.left, y, nullptr);
        ::LineTo(dc, right, y);
    }
    LONG x = first.left;
    for (int column = 0; column < columns; ++column) {
        x += static_cast<LONG>(::SendMessageW(view, LVM_GETCOLUMNWIDTH, column, 0));
        ::MoveToEx(dc, x - 1, first.top, nullptr);
        ::LineTo(dc, x - 1, last.bottom);
    }
    ::SelectObject(dc, oldPen);
}

}  // namespace

LRESULT TMainForm::ListView1CustomDrawSubItem(NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
        case CDDS_ITEMPREPAINT:
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            const std::size_t list = draw.nmcd.hdr.hwndFrom == controls_.Lists[0] ? 0 : 1;
            const std::size_t row = draw.nmcd.dwItemSpec;
            const bool warning = row < warnings_[list].size() && warnings_[list][row];
            const CellLook look = CellLookOf(draw.iSubItem, stale_[list], warning);
            draw.clrTextBk = SystemColour(look.Background);
            draw.clrText = SystemColour(look.Text);
            ::SelectObject(draw.nmcd.hdc,
                           draw.iSubItem == ValueColumn ? fonts_.Value : fonts_.Cell);
            return CDRF_NEWFONT;
        }
        case CDDS_POSTPAINT:
            DrawGrid(draw.nmcd);
            return CDRF_DODEFAULT;
        default:
            return CDRF_DODEFAULT;
    }
}
