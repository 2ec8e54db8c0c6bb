// ListView1CustomDrawSubItem, for every cell of either list: the colours and
// the font size of the cell's look, the font name and weight the list's.

// windows.h first: the common controls' header needs its types.
#include <windows.h>

#include <commctrl.h>

#include "winapp/MainForm.h"
#include "window/CellLook.h"

namespace {

COLORREF Colour(const CellColour& colour) {
    return colour.ButtonFace ? ::GetSysColor(COLOR_BTNFACE)
                             : RGB(colour.Red, colour.Green, colour.Blue);
}

// The list's own grid lines are drawn in a colour close to the button face,
// the colour of the list itself: each cell's right and bottom lines again, in
// the button shadow, so that they show.
void DrawGridLines(const NMLVCUSTOMDRAW& cell) {
    const HWND list = cell.nmcd.hdr.hwndFrom;
    RECT row{};
    row.left = LVIR_BOUNDS;
    ::SendMessageW(list, LVM_GETITEMRECT, cell.nmcd.dwItemSpec, reinterpret_cast<LPARAM>(&row));
    int left = row.left;
    for (int column = 0; column < cell.iSubItem; ++column)
        left += static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
    const int right =
        left + static_cast<int>(::SendMessageW(list, LVM_GETCOLUMNWIDTH, cell.iSubItem, 0));
    const HDC dc = cell.nmcd.hdc;
    const HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(DC_PEN));
    ::SetDCPenColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
    ::MoveToEx(dc, right - 1, row.top, nullptr);
    ::LineTo(dc, right - 1, row.bottom);
    ::MoveToEx(dc, left, row.bottom - 1, nullptr);
    ::LineTo(dc, right, row.bottom - 1);
    ::SelectObject(dc, oldPen);
}

}  // namespace

LRESULT TMainForm::ListView1CustomDrawSubItem(NMLVCUSTOMDRAW& draw) const {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            const CellLook look = CellLookOf(draw.iSubItem);
            draw.clrTextBk = Colour(look.Background);
            draw.clrText = Colour(look.Text);
            ::SelectObject(draw.nmcd.hdc, look.PointSize == 14 ? fonts_.Value : fonts_.Cell);
            return CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
        }
        case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
            DrawGridLines(draw);
            return CDRF_DODEFAULT;
        default:
            return CDRF_DODEFAULT;
    }
}
