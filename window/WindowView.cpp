#include "window/WindowView.h"

void WindowView::SetCell(int list, int row, int column, const std::string& text) {
    if (ShownCell(list, row, column) != text) PutCell(list, row, column, text);
}

void WindowView::SetMemoText(const std::string& text) {
    if (ShownMemo() != text) PutMemo(text);
}

void WindowView::SetBoxText(int box, const std::string& text) {
    if (ShownBox(box) != text) PutBox(box, text);
}

void WindowView::SetCounter(int counter, const CounterText& text) {
    if (ShownCounter(counter) != text.Shown) PutCounter(counter, text);
}

void WindowView::SetPanelText(int panel, const std::string& text) {
    if (ShownPanel(panel) != text) PutPanel(panel, text);
}
