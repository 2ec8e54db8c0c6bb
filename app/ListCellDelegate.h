#pragma once
// The painting of every cell of both parameter lists, in the look the
// behaviour gives each column (window/CellLook.h). Font name and weight stay
// the list's. The colours hold although the lists are disabled.

#include <QColor>
#include <QFont>
#include <QStyledItemDelegate>
#include <array>

#include "window/CellLook.h"

class ListCellDelegate : public QStyledItemDelegate {
public:
    static constexpr int ValueColumn = ::ValueColumn;
    // A Value cell's item data of this role is true while its value is
    // outside its range.
    static constexpr int WarningRole = Qt::UserRole + 1;

    struct CellLook {
        QColor Background;
        QColor Text;
        int PointSize = 0;
    };
    static CellLook LookOf(int column, bool stale = false, bool outOfRange = false);

    // `listFont` gives the name and weight of every cell's font.
    ListCellDelegate(const QFont& listFont, QObject* parent);

    // The list's values drawn as stale, or live again; the list is to be
    // painted anew.
    void SetStale(bool stale) { stale_ = stale; }

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
    const Look& LookAt(const QModelIndex& index) const;

    // Other columns, Value column, stale Value column, Value out of range.
    std::array<Look, 4> looks_;
    bool stale_ = false;
};
