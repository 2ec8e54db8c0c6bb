#include "app/ListCellDelegate.h"

#include "app/CellColourQt.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>

namespace {

// Room between a cell's edge and its text.
constexpr int TextMargin = 3;

}  // namespace

ListCellDelegate::CellLook ListCellDelegate::LookOf(int column, bool stale, bool outOfRange) {
    const ::CellLook look = CellLookOf(column, stale, outOfRange);
    return {QtColour(look.Background), QtColour(look.Text), look.PointSize};
}

ListCellDelegate::ListCellDelegate(const QFont& listFont, QObject* parent)
    : QStyledItemDelegate(parent) {
    looks_[0].Colours = LookOf(0);
    looks_[1].Colours = LookOf(ValueColumn);
    looks_[2].Colours = LookOf(ValueColumn, true);
    looks_[3].Colours = LookOf(ValueColumn, false, true);
    for (Look& look : looks_) {
        look.Font = listFont;
        look.Font.setPointSize(look.Colours.PointSize);
    }
}

const ListCellDelegate::Look& ListCellDelegate::LookAt(const QModelIndex& index) const {
    if (index.column() != ValueColumn) return looks_[0];
    if (stale_) return looks_[2];
    return looks_[index.data(WarningRole).toBool() ? 3 : 1];
}

void ListCellDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const Look& look = LookAt(index);
    option->backgroundBrush = look.Colours.Background;
    // Every colour group: a disabled list would otherwise grey the text.
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::HighlightedText})
        option->palette.setColor(QPalette::All, role, look.Colours.Text);
    option->font = look.Font;
    option->fontMetrics = QFontMetrics(look.Font);
}

// ListView1CustomDrawSubItem, for every cell of either list. A text wider than
// its cell is cut at the cell's edge.
void ListCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    const Look& look = LookAt(index);
    painter->fillRect(option.rect, look.Colours.Background);
    painter->setFont(look.Font);
    painter->setPen(look.Colours.Text);
    painter->drawText(option.rect.adjusted(TextMargin, 0, -TextMargin, 0),
                      Qt::AlignLeft | Qt::AlignVCenter, index.data(Qt::DisplayRole).toString());
}
