#include "app/Program.h"

#include <QApplication>
#include <cstdlib>
#include <exception>

#include "app/MainForm.h"
#include "app/WindowMessages.h"

namespace {

// The window while it lives: the program's one global reference to it, for
// an end that passes by its destructor.
TMainForm* LiveForm = nullptr;

// Qt ends the program with exit() when its display goes away: the session is
// ended then too, so that the port is given back (and not left marked
// exclusive) and the language written back, with no message to show.
void EndLiveSessionAtExit() {
    if (LiveForm) LiveForm->Behaviour().EndWithoutMessages();
    LiveForm = nullptr;
}

}  // namespace

int RunMainForm(WindowMessages& messages, const WindowBehaviour::Options& options) {
    static const bool endsAtExit = std::atexit(EndLiveSessionAtExit) == 0;
    (void)endsAtExit;
    try {
        TMainForm MainForm(messages, options);
        LiveForm = &MainForm;
        MainForm.show();
        QApplication::exec();
        LiveForm = nullptr;
        return 0;
    } catch (const std::exception& e) {
        LiveForm = nullptr;
        messages.Show(QString::fromStdString(StartUpFailureText(e)), WindowMessages::Icon::Error);
    } catch (...) {
        LiveForm = nullptr;
        messages.Show(QString(), WindowMessages::Icon::Error);
    }
    return 1;
}
