#pragma once
// The plot of the trend window: it draws the picture that the behaviour makes
// for its size (window/TrendPicture.h), at each tick only what changed
// (window/TrendCanvas.h), and hands the mouse to the log viewer.

#include <QWidget>
#include <functional>
#include <memory>

#include "app/TrendPainting.h"
#include "window/TrendCanvas.h"
#include "window/TrendHandlers.h"
#include "window/TrendPicture.h"

class TrendPlotView : public QWidget {
public:
    // `handlers` give the picture for a width and height in pixels, and take
    // the mouse's events.
    TrendPlotView(TrendHandlers handlers, QWidget* parent);
    // A plot that takes no mouse.
    TrendPlotView(TrendCanvas::Plot plot, QWidget* parent);

    // The trend changed: what differs from the picture shown is to be painted.
    void Refresh();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    TrendCanvas canvas_;
    TrendHandlers handlers_;
    std::unique_ptr<TrendPainter> painter_;
    int wheel_ = 0;  // eighths of a degree not yet a step
};
