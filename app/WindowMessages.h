#pragma once
// The window's modal message boxes, all captioned "Error" with one OK button
// and no owner window. The port's messages and a failed save of the language
// come through the MessageSink part and show no icon; "No connecting." and a
// failed start-up show the error icon.

#include <QString>
#include <string>

#include "serial/MessageSink.h"

class WindowMessages : public MessageSink {
public:
    enum class Icon { None, Error };

    // A message of the core, in cp1251.
    void ShowError(const std::string& text) override;
    virtual void Show(const QString& text, Icon icon) = 0;
};

// Shows each message in a QMessageBox and waits until it is closed.
class MessageBoxes : public WindowMessages {
public:
    void Show(const QString& text, Icon icon) override;
};
