#include "app/ListCellDelegate.h"

#include <QApplication>
#include <QPalette>

ListCellDelegate::CellLook ListCellDelegate::LookOf(int column) {
    if (column == ValueColumn) return {Qt::black, QColor(0, 255, 0), 14};
    return {QApplication::palette().color(QPalette::Active, QPalette::Button), Qt::black, 12};
}

// ListView1CustomDrawSubItem of both lists.
void ListCellDelegate::initStyleOption(QStyleOptionViewItem* option,
                                       const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const CellLook look = LookOf(index.column());
    option->backgroundBrush = look.Background;
    // Every colour group: a disabled list would otherwise grey the text.
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::HighlightedText})
        option->palette.setColor(QPalette::All, role, look.Text);
    option->font.setPointSize(look.PointSize);
    option->fontMetrics = QFontMetrics(option->font);
}
