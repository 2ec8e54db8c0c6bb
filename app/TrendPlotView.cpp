#include "app/TrendPlotView.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

TrendPlotView::TrendPlotView(TrendCanvas::Plot plot, QWidget* parent)
    : TrendPlotView(TrendHandlers{{}, {}, {}, std::move(plot)}, parent) {}

TrendPlotView::TrendPlotView(TrendHandlers handlers, QWidget* parent)
    : QWidget(parent), canvas_(handlers.Plot), handlers_(std::move(handlers)) {
    // Every pixel is painted: nothing behind the plot needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);
    painter_ = std::make_unique<TrendPainter>(small);
}

void TrendPlotView::Refresh() {
    const auto areas = canvas_.Refresh(width(), height());
    if (!areas) {
        update();
        return;
    }
    for (const TrendArea& area : *areas) update(area.X, area.Y, area.Width, area.Height);
}

void TrendPlotView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter_->Paint(painter, canvas_.Picture(width(), height()), width(), event->rect(),
                    event->region());
}

void TrendPlotView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && handlers_.Press)
        handlers_.Press(event->position().toPoint().x());
}

void TrendPlotView::mouseMoveEvent(QMouseEvent* event) {
    if ((event->buttons() & Qt::LeftButton) && handlers_.Drag)
        handlers_.Drag(event->position().toPoint().x());
}

void TrendPlotView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && handlers_.Release)
        handlers_.Release(event->position().toPoint().x());
}

// A step for each notch (120 eighths of a degree); a fine wheel adds up to one.
void TrendPlotView::wheelEvent(QWheelEvent* event) {
    wheel_ += event->angleDelta().y();
    const int steps = wheel_ / 120;
    wheel_ -= steps * 120;
    if (steps != 0 && handlers_.Wheel) handlers_.Wheel(steps, event->position().toPoint().x());
    event->accept();
}
