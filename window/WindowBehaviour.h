#pragma once
// The tool's one window as behaviour, apart from any toolkit: it owns the
// session with the ECU, finds the port on which the ECU answers, and while
// polling is on sends the requests of the page on view once per tick of
// Timer1, 220 ms after the end of the last one. It tells its view what to
// show; a toolkit's window builds the controls and forwards the user's events
// to the handlers here, which bear the names of the window's layout.

#include <array>
#include <chrono>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "window/TrendPicture.h"
#include "window/WindowView.h"

class EcuSession;
class LiveLog;
class LogWindow;
class Trend;
class PortLink;

// Virtual-key codes of the keys the window knows.
namespace VirtualKey {
constexpr int F1 = 112;
constexpr int F4 = 115;
constexpr int F5 = 116;
constexpr int F6 = 117;
constexpr int F7 = 118;
constexpr int F8 = 119;
constexpr int F9 = 120;
}  // namespace VirtualKey

class WindowBehaviour {
public:
    static constexpr int TickMs = 220;
    static constexpr int PageCount = 4;
    static constexpr const char* Title = "Diag VMX-4410 v.1.06";

    struct Options {
        // Holds database.ini; its dosdevices/ names the ports.
        std::filesystem::path Directory = std::filesystem::current_path();
        // Records the line into this file (see recording/LineRecording.h) when not empty.
        std::string RecordPath;
        // An existing file at RecordPath is replaced rather than refused.
        bool ForceRecording = false;
        // Told of the behaviour as soon as its session is made, before any
        // port is opened or message shown: a program that may end without
        // the window's destructor (its display gone, even during start-up)
        // ends the session then with EndWithoutMessages.
        std::function<void(WindowBehaviour&)> SessionMade;
    };

    // Start-up: the title and notice, the session (database.ini loaded, the
    // recording made when asked for), port detection, and the language's
    // texts; the window is then idle until Start. Throws ConversionError when
    // an "Address" of database.ini is not hexadecimal, and RecordingNotCreated
    // (a std::runtime_error) when the recording cannot be created (before
    // anything is sent); the session has ended then.
    WindowBehaviour(WindowView& view, const Options& options);
    // The same over another port than the machine's (tests script one).
    WindowBehaviour(WindowView& view, const Options& options, std::unique_ptr<PortLink> port);
    // Destroys the session: the language is written back, then the port closed.
    ~WindowBehaviour();
    WindowBehaviour(const WindowBehaviour&) = delete;
    WindowBehaviour& operator=(const WindowBehaviour&) = delete;

    // --- Handlers ---
    // The user picked the entry of ComNumber with that name.
    void ComNumberChange(const std::string& portName);
    // Button1 or F5.
    void ADiagExecute();
    void Timer1Timer();
    // The user clicked a tab; the view shows its page already.
    void PageControl1Change();
    // Every key press in the window, before the shortcuts of the actions
    // (virtual-key codes; any other number is some other key).
    void FormShortCut(int virtualKey);
    // Button2 or F8.
    void AResetErrorsExecute();
    // A key of an action, F5 to F9, pressed where the actions are at hand
    // (the main window and the trend window): runs its action and is true,
    // or false for any other key.
    bool ActionKey(int virtualKey);
    // F6: on a parameter page, starts logging its values into a new CSV file
    // of logs/, one row for each good read while polling; again, stops.
    void ALogExecute();
    // F7: opens the trend window. It plots the parameter set last on view:
    // on the errors and information pages its values lapse, and its axis
    // goes on with the ticks.
    void ATrendExecute();
    // The trend window's events: the rows picked (at most four are taken),
    // the period picked (0: a minute, 1: five minutes), the window closed.
    void TrendRowsChosen(const std::vector<int>& rows);
    void TrendPeriodChosen(int period);
    void TrendClosed();
    // F9: reads a report of the ECU between two ticks (the identification
    // and counters, the stored errors, the values of the parameter set last
    // on view) into a new file reports/YYYY-MM-DD_HHMMSS.html of the working
    // folder, says where it is and has the view open it. Polling and the
    // timer stay as they were; the log and the trend get nothing of it.
    void AReportExecute();
    // What the trend window is to draw in an area of width × height pixels:
    // the live trend, or the log on view.
    TrendPicture TrendPlot(int width, int height) const;
    // The trend window's log viewer: "Open log…" and Ctrl+O, and the events
    // of a log on view (window/LogWindow.h). The ticks go on meanwhile.
    LogWindow& TrendLog() { return *logWindow_; }
    // "Back to live": the log goes, and the live trend shows again.
    void TrendBackToLive();
    void LanguageBtnClick();
    // Closing is always allowed; it switches polling off.
    bool FormCloseQuery();

    // --- Window operations ---
    void ApplyLanguage();
    void PollLiveData();
    void ShowLiveValues();
    void PollErrors();
    void PollEcuInfo();

    // Ends the session now, its messages unshown: for a program that ends
    // without its window (its display gone), so that the port is let go of
    // and the language written back all the same.
    void EndWithoutMessages();

    EcuSession& Session() { return *session_; }
    bool TimerEnabled() const { return timerEnabled_; }
    bool Logging() const;
    // The trend of the parameter set last on view.
    const Trend& TrendOfPage() const { return *trend_; }

    // The window's state, as the layout names it.
    bool Polling = false;
    bool LinkOk = false;
    int CurrentPage = 0;
    std::int32_t ReadCount = 0;  // shown in panel 1 by each live-data update

private:
    // The core's messages, shown in the view's boxes without an icon.
    class Messages;

    void ShowDefinitionNotice();
    void DetectPort();
    void BuildRows();
    // A timer that already runs keeps its interval.
    void SetTimerEnabled(bool enabled);
    // After the exchanges of a handler: the recording's new lines to its file.
    void SaveRecording();
    // A list's values are stale from a failed read until its next good one.
    void MarkStale(int list, bool stale);
    // After a good read of the page: its row of the log.
    void LogValues();
    // After each tick: the values of a good read of the trend's set into it,
    // else a lapse; it is drawn anew while open.
    void TrendValues(bool read);
    // The seconds of the trend, now.
    double TrendSeconds() const;
    void RedrawTrend();
    void StopLog();
    // Status panel 2: the keys of the pages, or while logging a mark and the
    // rows, the file's path in its tooltip. At a row only the count changes.
    void ShowLogPanel();
    void ShowLogRows();
    // The trend window's texts and rows, in the language and of the page on view.
    void ShowTrendTexts();
    void ShowTrendRows();
    // The page on view becomes `page`; leaving a page ends its log, and the
    // other parameter set's page begins the trend anew with that set's rows.
    void TurnTo(int page);
    std::string Text(std::size_t entry) const;

    WindowView& view_;
    bool timerEnabled_ = false;
    std::array<bool, 2> stale_{};
    std::array<std::array<bool, WindowView::ListRows>, 2> warning_{};
    std::filesystem::path directory_;
    std::unique_ptr<LiveLog> log_;  // of the page on view: leaving it ends the log
    std::unique_ptr<Trend> trend_;  // of the parameter set trendSet_
    int trendSet_ = 0;
    std::array<std::vector<int>, 2> trendRows_{{{0}, {0}}};  // chosen of each set
    bool trendOpen_ = false;
    bool trendPlaced_ = false;  // beside the main window, at its first opening
    std::chrono::steady_clock::time_point trendStart_;
    std::unique_ptr<Messages> messages_;
    std::unique_ptr<EcuSession> session_;
    std::unique_ptr<LogWindow> logWindow_;  // made with the session
};

// The text a failed start-up shows, in UTF-8.
std::string StartUpFailureText(const std::exception& error);
