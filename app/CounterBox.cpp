#include "app/CounterBox.h"

#include <QLineEdit>

void ShowCounter(QLineEdit& box, const CounterText& text) {
    // Typed in at their positions rather than set as one text: a text set whole
    // is laid from the left, and the mask refuses a blank for a required digit.
    box.clear();
    box.setCursorPosition(text.HoursAt);
    box.insert(QString::fromStdString(text.Hours));
    box.setCursorPosition(CounterText::MinutesAt);
    box.insert(QString::fromStdString(text.Minutes));
}
