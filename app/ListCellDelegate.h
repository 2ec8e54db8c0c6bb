#pragma once
// The painting of every cell of both parameter lists: the Value column lime
// green on black in 14 points, the other columns black on the button face in
// 12 points. Font name and weight stay the list's. The colours depend on the
// column only, never on the row, the value or the definition, and they hold
// although the lists are disabled.

#include <QColor>
#include <QStyledItemDelegate>

class ListCellDelegate : public QStyledItemDelegate {
public:
    static constexpr int ValueColumn = 2;

    struct CellLook {
        QColor Background;
        QColor Text;
        int PointSize = 0;
    };
    static CellLook LookOf(int column);

    using QStyledItemDelegate::QStyledItemDelegate;

    // Public so that the look of a cell can be checked without painting it.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};
