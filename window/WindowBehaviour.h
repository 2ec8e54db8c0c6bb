#pragma once
// The tool's one window as behaviour, apart from any toolkit: it owns the
// session with the ECU, finds the port on which the ECU answers, and while
// polling is on sends the requests of the page on view once per tick of
// Timer1, 220 ms after the end of the last one. It tells its view what to
// show; a toolkit's window builds the controls and forwards the user's events
// to the handlers here, which bear the names of the window's layout.

#include <array>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

#include "window/WindowView.h"

class EcuSession;
class PortLink;

// Virtual-key codes of the keys the window knows.
namespace VirtualKey {
constexpr int F1 = 112;
constexpr int F4 = 115;
constexpr int F5 = 116;
constexpr int F8 = 119;
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
    };

    // Start-up: the title and notice, the session (database.ini loaded), the
    // recording when asked for, port detection, and the language's texts; the
    // window is then idle until Start. Throws ConversionError when an
    // "Address" of database.ini is not hexadecimal, and std::runtime_error
    // when the recording cannot be created (before anything is sent).
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
    std::string Text(std::size_t entry) const;

    WindowView& view_;
    bool timerEnabled_ = false;
    std::array<bool, 2> stale_{};
    std::unique_ptr<Messages> messages_;
    std::unique_ptr<EcuSession> session_;
};

// The text a failed start-up shows, in UTF-8.
std::string StartUpFailureText(const std::exception& error);
