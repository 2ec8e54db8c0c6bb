// Start-up, port detection and the handlers of the window: Start/Stop, the
// tick, page changes and keys, the port change, clearing the error memory,
// the language switch and closing.

#include "window/WindowBehaviour.h"

#include <array>

#include "database/ProfileValues.h"
#include "lang/Lang.h"
#include "line/LineRecovery.h"
#include "presentation/DefinitionFileNotice.h"
#include "session/SessionDefinitions.h"
#include "session/SessionFactory.h"
#include "text/CodePage.h"
#include "window/LiveLog.h"
#include "window/LogWindow.h"
#include "window/Trend.h"

class WindowBehaviour::Messages : public MessageSink {
public:
    explicit Messages(WindowView& view) : view_(view) {}
    void ShowError(const std::string& cp1251) override {
        if (!muted_) view_.ShowMessage(Cp1251ToUtf8(cp1251), WindowView::Icon::None);
    }
    void Mute() { muted_ = true; }

private:
    WindowView& view_;
    bool muted_ = false;
};

WindowBehaviour::WindowBehaviour(WindowView& view, const Options& options)
    : WindowBehaviour(view, options, nullptr) {}

WindowBehaviour::WindowBehaviour(WindowView& view, const Options& options,
                                 std::unique_ptr<PortLink> port)
    : view_(view),
      directory_(options.Directory),
      trend_(std::make_unique<Trend>()),
      trendStart_(std::chrono::steady_clock::now()),
      messages_(std::make_unique<Messages>(view)) {
    view_.SetTitle(Title);
    Polling = false;
    CurrentPage = 0;
    trend_->Choose({0});
    trend_->OriginSeconds =
        std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
    ShowLogPanel();
    SessionOptions session;
    session.Directory = options.Directory;
    session.Definitions = DefinitionUse::KeepLanguage;
    session.RecordPath = options.RecordPath;
    session.ForceRecording = options.ForceRecording;
    session.Port = std::move(port);
    session_ = MakeSession(*messages_, std::move(session));
    logWindow_ = std::make_unique<LogWindow>(view_.Trend(), directory_,
                                             ReadLogDefinitions(DefinitionFileOf(directory_)),
                                             view_.DecimalSeparator(), false);
    try {
        if (options.SessionMade) options.SessionMade(*this);
        ShowDefinitionNotice();
        DetectPort();
        SaveRecording();
        ApplyLanguage();
    } catch (...) {
        // Ended here rather than by the member's destruction: the end may show
        // a message, during which the program may end the session itself
        // (EndWithoutMessages), and it must find it ended already.
        session_.reset();
        throw;
    }
}

WindowBehaviour::~WindowBehaviour() {
    session_.reset();
}

void WindowBehaviour::EndWithoutMessages() {
    messages_->Mute();
    session_.reset();
}

// A missing database.ini, or one without a parameter, leaves every value a
// raw word without a name, which looks like a fault of the ECU: the user is
// told once, with what the checker finds wrong in the file. The window
// starts all the same.
void WindowBehaviour::ShowDefinitionNotice() {
    std::string text;
    for (const std::string& line :
         NoticeLines(InspectDefinitionFile(session_->Definitions.IniFile)))
        text += (text.empty() ? "" : "\n") + line;
    if (!text.empty()) view_.ShowMessage(Cp1251ToUtf8(text), WindowView::Icon::Error);
}

std::string WindowBehaviour::Text(std::size_t entry) const {
    return LangText[session_->Definitions.LanguageIndex][entry];
}

// Each port in list order is opened and probed; the first that answers stays
// open and selected, and the ports after it are not listed.
void WindowBehaviour::DetectPort() {
    EcuLine& line = session_->Line;
    const PortDetection detection =
        line.Detect([this](const PortProbe& probe) { view_.AddPortName(probe.Name); });
    if (detection.Answered) {
        view_.SelectPort(static_cast<int>(*detection.Answered));
        return;
    }
    view_.SelectPort(0);
    view_.ShowMessage(Lang::NoConnectingMessage, WindowView::Icon::Error);
    // The window stays usable on the first port: the user may pick another.
    if (!line.PortNames().empty()) line.Open(line.PortNames().front());
}

// A running cycle goes on with the new port at the next tick; on a parameter
// page it selects nothing there until the link flag is cleared.
void WindowBehaviour::ComNumberChange(const std::string& portName) {
    session_->Line.Close();
    session_->Line.Open(portName);
    SaveRecording();
}

// Without an open port only the caption is set: polling, when on, goes on.
void WindowBehaviour::ADiagExecute() {
    view_.SetActionCaption(WindowView::Action::ADiag, Text(Lang::StartAction));
    if (!session_->Line.IsOpen()) return;
    Polling = !Polling;
    if (Polling) {
        view_.SetActionCaption(WindowView::Action::ADiag, Text(Lang::StopAction));
        LinkOk = false;
        ReadCount = 0;
        TurnTo(view_.ActivePage());
        // The curves break over the time polling was off.
        trend_->Lapse(TrendSeconds());
    }
    SetTimerEnabled(Polling);
}

void WindowBehaviour::Timer1Timer() {
    SetTimerEnabled(false);
    view_.SetPanelText(0, LinkOk ? Lang::ConnectingText : Lang::NoConnectingText);
    KeepLineUp(session_->Line, LinkOk);
    switch (CurrentPage) {
        case 0:
        case 1:
            PollLiveData();
            break;
        case 2:
            PollErrors();
            TrendValues(false);
            break;
        case 3:
            PollEcuInfo();
            TrendValues(false);
            break;
    }
    SaveRecording();
    SetTimerEnabled(true);
}

void WindowBehaviour::PageControl1Change() {
    TurnTo(view_.ActivePage());
    LinkOk = false;
}

// F1 to F4 turn the pages (modifiers are not looked at); every key clears the
// link flag, so the next tick of a parameter page selects its set again.
void WindowBehaviour::FormShortCut(int virtualKey) {
    if (virtualKey >= VirtualKey::F1 && virtualKey <= VirtualKey::F4) {
        const int page = virtualKey - VirtualKey::F1;
        view_.SetActivePage(page);
        TurnTo(page);
    }
    LinkOk = false;
}

// No confirmation and no message; the timer runs afterwards even when polling
// was off, so ticks follow although the button still offers Start.
void WindowBehaviour::AResetErrorsExecute() {
    SetTimerEnabled(false);
    session_->Line.ClearErrorMemory();
    SaveRecording();
    SetTimerEnabled(true);
}

bool WindowBehaviour::ActionKey(int virtualKey) {
    static constexpr std::array<void (WindowBehaviour::*)(), 5> actions{
        &WindowBehaviour::ADiagExecute, &WindowBehaviour::ALogExecute,
        &WindowBehaviour::ATrendExecute, &WindowBehaviour::AResetErrorsExecute,
        &WindowBehaviour::AReportExecute};
    if (virtualKey < VirtualKey::F5 || virtualKey > VirtualKey::F9) return false;
    (this->*actions[static_cast<std::size_t>(virtualKey - VirtualKey::F5)])();
    return true;
}

void WindowBehaviour::LanguageBtnClick() {
    DefinitionDatabase& definitions = session_->Definitions;
    definitions.LanguageIndex = definitions.LanguageIndex == 0 ? 1 : 0;
    definitions.ApplyDefinitionLanguage();
    ApplyLanguage();
    LinkOk = false;
}

bool WindowBehaviour::FormCloseQuery() {
    Polling = false;
    return true;
}

void WindowBehaviour::SetTimerEnabled(bool enabled) {
    if (enabled == timerEnabled_) return;
    timerEnabled_ = enabled;
    view_.SetTimerEnabled(enabled);
}

void WindowBehaviour::MarkStale(int list, bool stale) {
    bool& marked = stale_[static_cast<std::size_t>(list)];
    if (marked == stale) return;
    marked = stale;
    view_.SetListStale(list, stale);
}

// A recording that cannot be written any more says so once; polling goes on.
void WindowBehaviour::SaveRecording() {
    if (!session_->Line.SaveRecording())
        view_.ShowMessage(RecordingStoppedText(session_->Line), WindowView::Icon::Error);
}

std::string StartUpFailureText(const std::exception& error) {
    // An unconvertible Address is quoted as the file has it, in cp1251.
    if (dynamic_cast<const ConversionError*>(&error)) return Cp1251ToUtf8(error.what());
    return error.what();
}
