#pragma once
// The plot of the trend window: it draws the picture that the behaviour makes
// for its size (window/TrendPicture.h). At each tick only what changed is
// painted anew (the curves' new ends and the latest values); the whole on a
// step of the time axis, a new size or new rows.

#include <QWidget>
#include <functional>
#include <memory>

#include "app/GlyphText.h"
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
    void resizeEvent(QResizeEvent* event) override;

private:
    Plot plot_;
    // The picture to show, of the size it was made for.
    TrendPicture picture_;
    QSize pictureSize_;
    int ascent_ = 0;                     // of the font, from the top of a line to its base
    std::unique_ptr<GlyphText> glyphs_;  // of that font
};
