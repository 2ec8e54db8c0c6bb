// ListView1CustomDrawSubItem, for every cell of either list: the colours and
// the font size of the cell's look, the font name and weight the list's.

// windows.h first: the common controls' header needs its types.
#include <windows.h>

#include <commctrl.h>

#include "winapp/CellColourWin.h"
#include "winapp/MainForm.h"
#include "window/CellLook.h"

namespace {

// The list's own grid lines are drawn in a colour close to the button face,
// the colour of the list itself: each cell's lines again, in
// the button shadow, so that they show.
void DrawGridLines(const NMLVCUSTOMDRAW& cell) {
    // The cell's rectangle in the coordinates of the drawing; the first
    // column's comes as the whole row's.
    RECT rect = cell.nmcd.rc;
    if (cell.iSubItem == 0)
        rect.right = rect.left + static_cast<LONG>(::SendMessageW(cell.nmcd.hdr.hwndFrom,
                                                                  LVM_GETCOLUMNWIDTH, 0, 0));
    const HDC dc = cell.nmcd.hdc;
    const HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(DC_PEN));
    ::SetDCPenColor(dc, ::GetSysColor(COLOR_BTNSHADOW));
    ::MoveToEx(dc, rect.right - 1, rect.top, nullptr);
    ::LineTo(dc, rect.right - 1, rect.bottom);
    // Above and below: a row painted after its neighbour may cover the line
    // they share.
    for (const LONG y : {rect.top - 1, rect.bottom - 1}) {
        ::MoveToEx(dc, rect.left, y, nullptr);
        ::LineTo(dc, rect.right, y);
    }
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
            const std::size_t list = draw.nmcd.hdr.hwndFrom == controls_.Lists[0] ? 0 : 1;
            const std::size_t row = draw.nmcd.dwItemSpec;
            const bool warning = row < warnings_[list].size() && warnings_[list][row];
            const CellLook look = CellLookOf(draw.iSubItem, stale_[list], warning);
            draw.clrTextBk = SystemColour(look.Background);
            draw.clrText = SystemColour(look.Text);
            ::SelectObject(draw.nmcd.hdc,
                           draw.iSubItem == ValueColumn ? fonts_.Value : fonts_.Cell);
            return CDRF_NEWFONT | CDRF_NOTIFYPOSTPAINT;
        }
        case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
            DrawGridLines(draw);
            return CDRF_DODEFAULT;
        default:
            return CDRF_DODEFAULT;
    }
}
