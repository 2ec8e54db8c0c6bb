#pragma once
// The plot of the trend window: it draws the picture that the behaviour makes
// for its size (window/TrendPicture.h), at each tick only what changed
// (window/TrendCanvas.h).

#include <QWidget>
#include <functional>
#include <memory>

#include "app/GlyphText.h"
#include "window/TrendCanvas.h"
#include "window/TrendPicture.h"

class QPainter;

class TrendPlotView : public QWidget {
public:
    // `plot` gives the picture for a width and height in pixels.
    using Plot = std::function<TrendPicture(int width, int height)>;
    TrendPlotView(Plot plot, QWidget* parent);

    // The trend changed: what differs from the picture shown is to be painted.
    void Refresh();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TrendCanvas canvas_;
    int ascent_ = 0;                     // of the font, from the top of a line to its base
    std::unique_ptr<GlyphText> glyphs_;  // of that font
};
