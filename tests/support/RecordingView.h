#pragma once
// A window view without a toolkit: it keeps what the behaviour shows, as the
// controls would hold it, for tests to read.

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "window/WindowView.h"

class RecordingView : public WindowView, public TrendView {
public:
    struct Message {
        std::string Text;
        Icon Kind;
    };

    std::string Title, StartStopCaption, ResetCaption, LanguageCaption;
    std::array<std::string, 4> PageCaptions;
    std::array<std::array<std::string, 4>, 2> Headers;
    std::array<std::string, 14> BoxLabels;
    std::vector<std::string> Ports;
    int SelectedPort = -1;
    std::array<std::array<std::array<std::string, 4>, ListRows>, 2> Cells;
    std::array<bool, 2> Stale{};
    std::array<std::array<bool, ListRows>, 2> Warnings{};
    std::string Memo;
    std::array<std::string, 8> Boxes;
    std::array<std::string, 6> Counters;  // as shown in the mask
    std::array<std::string, 3> Panels;
    std::array<std::string, 3> PanelTips;
    int PanelTipsSet = 0;  // a tip set anew closes the one on screen
    bool TrendShown = false;
    std::array<std::string, 4> TrendTexts;  // title, rows caption, the two periods
    std::vector<std::string> TrendNames;
    std::vector<bool> TrendChosen;
    int TrendPeriod = -1;
    int TrendRedraws = 0;
    std::optional<TrendScreen> TrendPlaces;  // where the windows stand; nothing: on no screen
    std::vector<TrendArea> TrendMoves;       // where the trend window was moved, in order
    // The log viewer's buttons (back empty: hidden) and whether the period shows.
    std::string LogOpenCaption, LogBackCaption;
    bool PeriodShown = true;
    // What the file dialog answers, and the folder it was asked in.
    std::optional<std::filesystem::path> LogFilePicked;
    std::filesystem::path LogDialogFolder;
    std::vector<std::string> LogMessages;
    int Page = 0;
    bool TimerOn = false;
    std::vector<Message> Messages;
    std::vector<std::pair<std::string, std::string>> Notices;  // caption, text
    std::vector<std::filesystem::path> Opened;
    std::string Separator = ".";
    // Runs while a message is on view, as a program's events do under a box.
    std::function<void()> WhileShown;

    // Every caption the language sets, in the order ApplyLanguage sets them.
    std::vector<std::string> Captions() const {
        std::vector<std::string> captions{LanguageCaption, StartStopCaption, ResetCaption};
        captions.insert(captions.end(), PageCaptions.begin(), PageCaptions.end());
        for (const auto& list : Headers) captions.insert(captions.end(), list.begin(), list.end());
        captions.insert(captions.end(), BoxLabels.begin(), BoxLabels.end());
        return captions;
    }
    const std::string& Value(int list, int row) const { return Cells[list][row][2]; }
    int FilledValues(int list) const {
        int filled = 0;
        for (int row = 0; row < ListRows; ++row) filled += !Value(list, row).empty();
        return filled;
    }

    void SetTitle(const std::string& text) override { Title = text; }
    void SetActionCaption(Action action, const std::string& text) override {
        (action == Action::ADiag ? StartStopCaption : ResetCaption) = text;
    }
    void SetLanguageButtonCaption(const std::string& text) override { LanguageCaption = text; }
    void SetPageCaption(int page, const std::string& text) override {
        PageCaptions.at(page) = text;
    }
    void SetColumnHeader(int list, int column, const std::string& text) override {
        Headers.at(list).at(column) = text;
    }
    void SetBoxLabel(int box, const std::string& text) override { BoxLabels.at(box) = text; }
    void AddPortName(const std::string& name) override { Ports.push_back(name); }
    void SelectPort(int index) override {
        if (index < static_cast<int>(Ports.size())) SelectedPort = index;
    }
    void SetListStale(int list, bool stale) override { Stale.at(list) = stale; }
    void SetValueWarning(int list, int row, bool warning) override {
        Warnings.at(list).at(row) = warning;
    }
    void SetPanelTip(int panel, const std::string& tip) override {
        PanelTips.at(panel) = tip;
        ++PanelTipsSet;
    }
    TrendView& Trend() override { return *this; }
    void Show() override { TrendShown = true; }
    void SetTexts(const std::string& title, const std::string& rowsCaption,
                  const std::string& minute, const std::string& fiveMinutes) override {
        TrendTexts = {title, rowsCaption, minute, fiveMinutes};
    }
    void SetRows(const std::vector<std::string>& names, const std::vector<bool>& chosen) override {
        TrendNames = names;
        TrendChosen = chosen;
    }
    void SetPeriod(int period) override { TrendPeriod = period; }
    void Redraw() override { ++TrendRedraws; }
    std::optional<TrendScreen> Screen() const override { return TrendPlaces; }
    void MoveTo(int x, int y) override { TrendMoves.push_back({x, y, 0, 0}); }
    int ActivePage() const override { return Page; }
    void SetActivePage(int page) override { Page = page; }
    void SetTimerEnabled(bool enabled) override { TimerOn = enabled; }
    void ShowMessage(const std::string& text, Icon icon) override {
        Messages.push_back({text, icon});
        if (WhileShown) WhileShown();
    }
    void ShowNotice(const std::string& caption, const std::string& text) override {
        Notices.push_back({caption, text});
        if (WhileShown) WhileShown();
    }
    void OpenFile(const std::filesystem::path& path) override { Opened.push_back(path); }
    std::string DecimalSeparator() const override { return Separator; }
    void SetLogControls(const std::string& open, const std::string& back, bool live) override {
        LogOpenCaption = open;
        LogBackCaption = back;
        PeriodShown = live;
    }
    std::optional<std::filesystem::path> AskLogFile(const std::string&, const std::string&,
                                                    const std::filesystem::path& folder) override {
        LogDialogFolder = folder;
        return LogFilePicked;
    }
    void ShowLogMessage(const std::string& text) override { LogMessages.push_back(text); }

    // Every text put into a control (the view puts only those that differ).
    int TextsPut = 0;

protected:
    std::string ShownCell(int list, int row, int column) const override {
        return Cells.at(list).at(row).at(column);
    }
    void PutCell(int list, int row, int column, const std::string& text) override {
        Cells.at(list).at(row).at(column) = text;
        ++TextsPut;
    }
    std::string ShownMemo() const override { return Memo; }
    void PutMemo(const std::string& text) override {
        Memo = text;
        ++TextsPut;
    }
    std::string ShownBox(int box) const override { return Boxes.at(box); }
    void PutBox(int box, const std::string& text) override {
        Boxes.at(box) = text;
        ++TextsPut;
    }
    std::string ShownCounter(int counter) const override { return Counters.at(counter); }
    void PutCounter(int counter, const CounterText& text) override {
        Counters.at(counter) = text.Shown;
        ++TextsPut;
    }
    std::string ShownPanel(int panel) const override { return Panels.at(panel); }
    void PutPanel(int panel, const std::string& text) override {
        Panels.at(panel) = text;
        ++TextsPut;
    }
};
