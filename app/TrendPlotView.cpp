#include "app/TrendPlotView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>

#include "window/TrendPicture.h"

namespace {

QColor Colour(const CellColour& colour) {
    return QColor(colour.Red, colour.Green, colour.Blue);
}

// Lines of one pixel take the painter's fast path; a pen two pixels wide
// would be stroked as a shape, several times the cost.
void DrawLines(QPainter& painter, const std::vector<TrendLine>& lines) {
    QPolygon polygon;
    for (const TrendLine& line : lines) {
        painter.setPen(QPen(Colour(line.Colour), 1));
        polygon.clear();
        polygon.reserve(static_cast<int>(line.Points.size()));
        for (const TrendPixel& point : line.Points) polygon.append(QPoint(point.X, point.Y));
        painter.drawPolyline(polygon);
    }
}

// Only the texts that may reach into the area painted, each taken to reach
// to the right edge: text costs most to draw, and to measure.
void DrawTexts(QPainter& painter, const std::vector<TrendText>& texts, const QRect& painted,
               int ascent) {
    for (const TrendText& text : texts) {
        if (text.At.X > painted.right() || text.At.Y > painted.bottom() ||
            text.At.Y + TrendLineHeight <= painted.top())
            continue;
        painter.setPen(Colour(text.Colour));
        painter.drawText(text.At.X, text.At.Y + ascent, QString::fromStdString(text.Text));
    }
}

}  // namespace

TrendPlotView::TrendPlotView(Plot plot, QWidget* parent) : QWidget(parent), plot_(std::move(plot)) {
    // Every pixel is painted: nothing behind the plot needs painting first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    QFont small = font();
    small.setPixelSize(12);
    setFont(small);
    ascent_ = QFontMetrics(small).ascent();
}

void TrendPlotView::Refresh() {
    TrendPicture picture = plot_(width(), height());
    const auto areas =
        pictureSize_ == size() ? ChangedAreas(picture_, picture, width()) : std::nullopt;
    picture_ = std::move(picture);
    pictureSize_ = size();
    if (!areas) {
        update();
        return;
    }
    for (const TrendArea& area : *areas) update(area.X, area.Y, area.Width, area.Height);
}

void TrendPlotView::resizeEvent(QResizeEvent*) {
    pictureSize_ = {};  // painted whole, from a picture of the new size
}

// Without antialiasing: a curve's pixels are where the picture puts them.
// Whatever is drawn outside the area asked for is cut off by the painter.
void TrendPlotView::paintEvent(QPaintEvent* event) {
    if (pictureSize_ != size()) {
        picture_ = plot_(width(), height());
        pictureSize_ = size();
    }
    const QRect painted = event->rect();
    QPainter painter(this);
    painter.fillRect(painted, Colour(picture_.Background));
    DrawLines(painter, picture_.Grid);
    DrawTexts(painter, picture_.Labels, painted, ascent_);
    DrawLines(painter, picture_.Curves);
    for (const TrendMark& mark : picture_.Marks)
        painter.fillRect(mark.At.X - TrendMarkSize / 2, mark.At.Y - TrendMarkSize / 2,
                         TrendMarkSize, TrendMarkSize, Colour(mark.Colour));
    DrawTexts(painter, picture_.Values, painted, ascent_);
}
