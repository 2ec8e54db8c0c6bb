#include "app/StatusPanel.h"

#include <QPainter>

namespace {

// Room between the frame and the text.
constexpr int TextMargin = 2;

}  // namespace

StatusPanel::StatusPanel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void StatusPanel::setText(const QString& text) {
    text_ = text;
    update(contentsRect());
}

void StatusPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawText(contentsRect().adjusted(TextMargin, 0, -TextMargin, 0),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text_);
}
