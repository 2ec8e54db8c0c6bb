#include "app/Program.h"

#include <QApplication>
#include <QLocale>
#include <cstdlib>
#include <exception>

#include "app/MainForm.h"
#include "app/TrendForm.h"
#include "app/WindowMessages.h"
#include "window/LogWindow.h"

namespace {

// The window's behaviour from the moment its session is made until the
// window is gone: the program's one global reference to it, for an end that
// passes by the window's destructor.
WindowBehaviour* LiveBehaviour = nullptr;

// Qt ends the program with exit() when its display goes away, also in a
// message box of the start-up: the session is ended then too, so that the
// port is given back (and not left marked exclusive) and the language
// written back, with no message to show.
void EndLiveSessionAtExit() {
    if (LiveBehaviour) LiveBehaviour->EndWithoutMessages();
    LiveBehaviour = nullptr;
}

}  // namespace

int RunMainForm(WindowMessages& messages, const WindowBehaviour::Options& options) {
    static const bool endsAtExit = std::atexit(EndLiveSessionAtExit) == 0;
    (void)endsAtExit;
    WindowBehaviour::Options live = options;
    // Before the first frame goes out: the display may go while the ports
    // are probed, or under a box the start-up shows.
    live.SessionMade = [made = options.SessionMade](WindowBehaviour& behaviour) {
        LiveBehaviour = &behaviour;
        if (made) made(behaviour);
    };
    try {
        TMainForm MainForm(messages, live);
        MainForm.show();
        QApplication::exec();
        LiveBehaviour = nullptr;
        return 0;
    } catch (const std::exception& e) {
        LiveBehaviour = nullptr;
        messages.Show(QString::fromStdString(StartUpFailureText(e)), WindowMessages::Icon::Error);
    } catch (...) {
        LiveBehaviour = nullptr;
        messages.Show(QString(), WindowMessages::Icon::Error);
    }
    return 1;
}

int RunLogViewer(WindowMessages& messages, const std::filesystem::path& folder,
                 const std::filesystem::path& file) {
    std::unique_ptr<LogWindow> log;
    TrendForm window(nullptr, TrendHandlersOf(log, [] {}), messages);
    log = OpenLogAlone(window, folder, file, QLocale().decimalPoint().toStdString());
    if (!log) return 1;
    window.Show();
    QApplication::exec();
    return 0;
}
