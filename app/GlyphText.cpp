#include "app/GlyphText.h"

#include <QGlyphRun>
#include <QList>
#include <QPainter>
#include <QPointF>

GlyphText::GlyphText(const QFont& font) : font_(font), raw_(QRawFont::fromFont(font)) {}

void GlyphText::Draw(QPainter& painter, const QPoint& at, const QString& text) {
    QList<quint32> indexes;
    QList<QPointF> positions;
    indexes.reserve(text.size());
    positions.reserve(text.size());
    qreal x = 0;
    for (QChar c : text) {
        const auto [glyph, advance] = Glyph(c);
        if (glyph == 0 || c.isSurrogate()) {
            painter.setFont(font_);
            painter.drawText(at, text);
            return;
        }
        indexes.append(glyph);
        positions.append(QPointF(x, 0));
        x += advance;
    }
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes(indexes);
    run.setPositions(positions);
    painter.drawGlyphRun(at, run);
}

std::pair<quint32, qreal> GlyphText::Glyph(QChar c) {
    const auto known = glyphs_.constFind(c.unicode());
    if (known != glyphs_.constEnd()) return *known;
    std::pair<quint32, qreal> glyph{0, 0.0};
    const QList<quint32> indexes = raw_.glyphIndexesForString(QString(c));
    if (raw_.isValid() && indexes.size() == 1 && indexes[0] != 0) {
        const QList<QPointF> advances = raw_.advancesForGlyphIndexes(indexes);
        glyph = {indexes[0], advances.isEmpty() ? 0.0 : advances[0].x()};
    }
    glyphs_.insert(c.unicode(), glyph);
    return glyph;
}
