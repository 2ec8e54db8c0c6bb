#pragma once
// The window's modal message boxes, all captioned "Error" with one OK button
// and no owner window: the port's messages and a failed save of the language
// with no icon, "No connecting." and a failed start-up with the error icon.
// Tests keep them instead of showing them.

#include <QString>

#include "window/WindowView.h"

class WindowMessages {
public:
    using Icon = WindowView::Icon;
    virtual ~WindowMessages() = default;
    virtual void Show(const QString& text, Icon icon) = 0;
};

// Shows each message in a QMessageBox and waits until it is closed.
class MessageBoxes : public WindowMessages {
public:
    void Show(const QString& text, Icon icon) override;
};
