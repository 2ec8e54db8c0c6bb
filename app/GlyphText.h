#pragma once
// Short texts drawn from the font's glyphs one by one, without shaping: the
// plot's texts are codes, numbers and units, whose scripts need none, and
// shaping a text costs several times what drawing its glyphs does. A text
// with a character the font has no glyph for is drawn the ordinary way.

#include <QFont>
#include <QHash>
#include <QRawFont>
#include <QString>
#include <utility>

class QPainter;
class QPoint;

class GlyphText {
public:
    explicit GlyphText(const QFont& font);

    // Draws `text` with its base line starting at `at`, in the painter's pen.
    void Draw(QPainter& painter, const QPoint& at, const QString& text);

private:
    // A character's glyph and how far it moves the pen; glyph 0 where the
    // font has none.
    std::pair<quint32, qreal> Glyph(QChar c);

    QFont font_;
    QRawFont raw_;
    QHash<char16_t, std::pair<quint32, qreal>> glyphs_;
};
