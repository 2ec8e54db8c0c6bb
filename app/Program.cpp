#include "app/Program.h"

#include <QApplication>
#include <exception>

#include "app/MainForm.h"
#include "app/WindowMessages.h"

int RunMainForm(WindowMessages& messages, const WindowBehaviour::Options& options) {
    try {
        TMainForm MainForm(messages, options);
        MainForm.show();
        QApplication::exec();
        return 0;
    } catch (const std::exception& e) {
        messages.Show(QString::fromStdString(StartUpFailureText(e)), WindowMessages::Icon::Error);
    } catch (...) {
        messages.Show(QString(), WindowMessages::Icon::Error);
    }
    return 1;
}
