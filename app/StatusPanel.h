#pragma once
// A panel of the status bar: a sunken frame with a line of text. A new text
// only repaints the panel: a label would also ask its status bar to lay its
// panels out again, on every tick.

#include <QFrame>
#include <QString>

class StatusPanel : public QFrame {
public:
    explicit StatusPanel(QWidget* parent);

    const QString& text() const { return text_; }
    // Repaints the panel with the text.
    void setText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};
