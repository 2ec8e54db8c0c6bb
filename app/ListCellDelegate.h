#pragma once
// The painting of every cell of both parameter lists: the Value column lime
// green on black in 14 points, the other columns black on the button face in
// 12 points. Font name and weight stay the list's. The colours depend on the
// column only, never on the row, the value or the definition, and they hold
// although the lists are disabled.

#include <QColor>
#include <QFont>
#include <QStyledItemDelegate>
#include <array>

class ListCellDelegate : public QStyledItemDelegate {
public:
    static constexpr int ValueColumn = 2;

    struct CellLook {
        QColor Background;
        QColor Text;
        int PointSize = 0;
    };
    static CellLook LookOf(int column);

    // `listFont` gives the name and weight of every cell's font.
    ListCellDelegate(const QFont& listFont, QObject* parent);

    // Public so that the look of a cell can be checked without painting it.
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
    // Draws the look directly: the values are painted on every tick, and the
    // style's general item painting costs several times as much.
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    struct Look {
        CellLook Colours;
        QFont Font;
    };
    const Look& LookAt(int column) const { return looks_[column == ValueColumn]; }

    std::array<Look, 2> looks_;  // other columns, Value column
};
