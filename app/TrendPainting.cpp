#include "app/TrendPainting.h"

#include <QFontMetrics>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "app/CellColourQt.h"

namespace {

// Lines of one pixel take the painter's fast path; a pen two pixels wide
// would be stroked as a shape, several times the cost. Of a curve only the
// part from the left of the area painted on is drawn: its points go from left
// to right, and at a tick only its end is painted anew.
void DrawLines(QPainter& painter, const std::vector<TrendLine>& lines, const QRect& painted) {
    QPolygon polygon;
    for (const TrendLine& line : lines) {
        const auto first =
            std::lower_bound(line.Points.begin(), line.Points.end(), painted.left(),
                             [](const TrendPixel& point, int x) { return point.X < x; });
        const auto from = first == line.Points.begin() ? first : first - 1;
        painter.setPen(QPen(QtColour(line.Colour), 1));
        polygon.clear();
        polygon.reserve(static_cast<int>(line.Points.end() - from));
        for (auto point = from; point != line.Points.end(); ++point)
            polygon.append(QPoint(point->X, point->Y));
        if (polygon.size() == 1)
            painter.drawPoint(polygon.front());  // a piece of one read
        else
            painter.drawPolyline(polygon);
    }
}

// Only the texts that reach into the region painted, each taken to reach to
// the right edge: text costs most to draw.
void DrawTexts(QPainter& painter, GlyphText& glyphs, const std::vector<TrendText>& texts,
               const QRegion& painted, int width, int ascent) {
    for (const TrendText& text : texts) {
        if (!painted.intersects(QRect(text.At.X, text.At.Y, width - text.At.X, TrendLineHeight)))
            continue;
        painter.setPen(QtColour(text.Colour));
        glyphs.Draw(painter, QPoint(text.At.X, text.At.Y + ascent),
                    QString::fromStdString(text.Text));
    }
}

// Runs as rectangles one pixel wide, in one call for each curve.
void FillRuns(QPainter& painter, const std::vector<TrendRuns>& all) {
    painter.setPen(Qt::NoPen);
    QVector<QRect> rects;
    for (const TrendRuns& runs : all) {
        rects.clear();
        rects.reserve(static_cast<int>(runs.Runs.size()));
        for (const TrendRun& run : runs.Runs)
            rects.append(QRect(run.X, run.Top, 1, run.Bottom - run.Top + 1));
        painter.setBrush(QtColour(runs.Colour));
        painter.drawRects(rects);
    }
    painter.setBrush(Qt::NoBrush);
}

// Runs written straight into the pixels under the painter where they are an
// image of 32 bits a pixel at one pixel a unit (the raster backing store of
// a widget, or an image painted on), cut to `clip`: a day's curves are
// thousands of runs a few pixels long, which the painter would fill one by
// one at many times the cost. False, having written nothing, elsewhere.
bool WriteRuns(QPainter& painter, const std::vector<TrendRuns>& all, const QRect& clip) {
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image) return false;
    auto& image = *static_cast<QImage*>(device);
    const QTransform& place = painter.deviceTransform();
    if ((image.format() != QImage::Format_RGB32 &&
         image.format() != QImage::Format_ARGB32_Premultiplied) ||
        place.type() > QTransform::TxTranslate || place.dx() != std::floor(place.dx()) ||
        place.dy() != std::floor(place.dy()))
        return false;
    const int dx = static_cast<int>(place.dx()), dy = static_cast<int>(place.dy());
    const QRect within = clip.translated(dx, dy).intersected(image.rect());
    if (within.isEmpty()) return true;
    uchar* const bits = image.bits();
    const qsizetype line = image.bytesPerLine();
    for (const TrendRuns& runs : all) {
        const QRgb colour = QtColour(runs.Colour).rgba();  // opaque: premultiplied alike
        for (const TrendRun& run : runs.Runs) {
            const int x = run.X + dx;
            if (x < within.left() || x > within.right()) continue;
            const int bottom = std::min(run.Bottom + dy, within.bottom());
            for (int y = std::max(run.Top + dy, within.top()); y <= bottom; ++y)
                reinterpret_cast<QRgb*>(bits + y * line)[x] = colour;
        }
    }
    return true;
}

}  // namespace

TrendPainter::TrendPainter(const QFont& font)
    : ascent_(QFontMetrics(font).ascent()), glyphs_(std::make_unique<GlyphText>(font)) {}

// Without antialiasing: a curve's pixels are where the picture puts them.
// Whatever is drawn outside the area asked for is cut off by the painter.
void TrendPainter::Paint(QPainter& painter, const TrendPicture& picture, int width,
                         const QRect& rect, const QRegion& painted) {
    painter.fillRect(rect, QtColour(picture.Background));
    DrawLines(painter, picture.Grid, QRect(0, 0, width, rect.bottom() + 1));
    DrawTexts(painter, *glyphs_, picture.Labels, painted, width, ascent_);
    DrawLines(painter, picture.Curves, rect);
    if (!WriteRuns(painter, picture.Runs, rect)) FillRuns(painter, picture.Runs);
    for (const TrendMark& mark : picture.Marks)
        painter.fillRect(mark.At.X - TrendMarkSize / 2, mark.At.Y - TrendMarkSize / 2,
                         TrendMarkSize, TrendMarkSize, QtColour(mark.Colour));
    DrawTexts(painter, *glyphs_, picture.Values, painted, width, ascent_);
}
