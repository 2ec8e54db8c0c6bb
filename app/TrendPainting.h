#pragma once
// Drawing a trend picture (window/TrendPicture.h) with a QPainter: what the
// trend window's plot paints, and what the benchmark paints into an image.

#include <QFont>
#include <QRect>
#include <QRegion>
#include <memory>

#include "app/GlyphText.h"
#include "window/TrendPicture.h"

class QPainter;

class TrendPainter {
public:
    explicit TrendPainter(const QFont& font);

    // Paints `picture` over an area `width` pixels wide, only what reaches
    // into `painted` (its bounding rectangle `rect`).
    void Paint(QPainter& painter, const TrendPicture& picture, int width, const QRect& rect,
               const QRegion& painted);

private:
    int ascent_ = 0;  // of the font, from the top of a line to its base
    std::unique_ptr<GlyphText> glyphs_;
};
