#pragma once
// The window's modal message boxes, with one OK button and no owner window:
// captioned "Error", the port's messages and a failed save of the language
// with no icon, "No connecting." and a failed start-up with the error icon;
// notices of what went well with the information icon. And the files the
// window hands to the desktop's programs. Tests keep them all instead of
// showing or opening them.

#include <QString>

#include "window/WindowView.h"

class WindowMessages {
public:
    using Icon = WindowView::Icon;
    virtual ~WindowMessages() = default;
    virtual void Show(const QString& text, Icon icon) = 0;
    virtual void ShowNotice(const QString& caption, const QString& text) = 0;
    // The desktop's program for the file's kind opens it; nothing happens
    // when there is none.
    virtual void OpenFile(const QString& path) = 0;
};

// Shows each message in a QMessageBox and waits until it is closed.
class MessageBoxes : public WindowMessages {
public:
    void Show(const QString& text, Icon icon) override;
    void ShowNotice(const QString& caption, const QString& text) override;
    void OpenFile(const QString& path) override;
};
