// F9: a report of the ECU for the vehicle's owner, read between two ticks
// with the exchanges of the pages, written as an HTML page into reports/ of
// the working folder and handed to the system's browser.

#include <chrono>

#include "lang/Lang.h"
#include "report/ReportFile.h"
#include "report/ReportHtml.h"
#include "report/ReportReading.h"
#include "session/EcuSession.h"
#include "text/PathText.h"
#include "window/WindowBehaviour.h"

void WindowBehaviour::AReportExecute() {
    if (!session_->Line.IsOpen()) {
        view_.ShowMessage(Lang::NoConnectingMessage, WindowView::Icon::Error);
        return;
    }
    const auto time = std::chrono::system_clock::now();
    const auto failed = [this](const ReportFile& file) {
        view_.ShowMessage(Text(Lang::ReportNotWritten) + ": " + PrintablePath(file.Path()) + ": " +
                              file.Failure() + ".",
                          WindowView::Icon::Error);
    };
    // The file first: a folder that takes none asks the ECU nothing.
    ReportFile file;
    if (!file.CreateInFolder(directory_, time)) {
        failed(file);
        return;
    }
    // No tick comes between the reads, not even under a box of the port's
    // messages; a timer that ran runs again after them, polling as before.
    const bool timerWasOn = timerEnabled_;
    SetTimerEnabled(false);
    const EcuReport report =
        ReadEcuReport(session_->Line, session_->Definitions, session_->Sets, trendSet_,
                      {"vmxdiag", VMX_VERSION, time, view_.DecimalSeparator()});
    // The ECU's slots hold the report's set now: the next tick of a parameter
    // page selects its own again, as after a page change.
    LinkOk = false;
    SaveRecording();
    SetTimerEnabled(timerWasOn);
    if (!file.Write(ReportHtml(report))) {
        failed(file);
        return;
    }
    view_.OpenFile(file.Path());
    // The path on a line of its own: a box wraps a long one at its separators.
    view_.ShowNotice(Text(Lang::ReportTitle), Text(Lang::ReportWritten) + "\n" +
                                                  PrintablePath(file.Path()) + "\n\n" +
                                                  ReportCompleteness(report));
}
