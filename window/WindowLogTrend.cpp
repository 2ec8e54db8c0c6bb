// The log and the trend of the window: F6 writes the parameter page's good
// reads into a CSV file, F7 opens the trend window, which plots up to four of
// a set's rows over the last minute or five. The log belongs to the page on
// view, and leaving it ends the log; the trend to the parameter set last on
// view, whose rows chosen are kept while the other set is plotted.

#include <algorithm>
#include <chrono>

#include "lang/Lang.h"
#include "session/EcuSession.h"
#include "text/CodePage.h"
#include "text/PathText.h"
#include "window/LiveLog.h"
#include "window/LogWindow.h"
#include "window/Trend.h"
#include "window/TrendPlacement.h"
#include "window/TrendPlot.h"
#include "window/WindowBehaviour.h"

namespace {

// Status panel 2 while the page is not logged: the keys that turn the pages.
constexpr const char* NoticeText = "F1 - F4";
// Before the rows of a log.
constexpr const char* LogMark = "\u25CF ";

bool IsParameterPage(int page) {
    return page == 0 || page == 1;
}

// The definitions of the rows of parameter set `set`.
ParameterSets::SlotDefinitions SetSlots(const EcuSession& session, int set) {
    return session.Sets.SlotsOf(set);
}

}  // namespace

bool WindowBehaviour::Logging() const {
    return log_ && log_->IsOpen();
}

void WindowBehaviour::ALogExecute() {
    if (Logging()) {
        StopLog();
        return;
    }
    if (!IsParameterPage(CurrentPage)) return;
    auto log = std::make_unique<LiveLog>();
    if (!log->Start(directory_, CurrentPage, SetSlots(*session_, CurrentPage),
                    std::chrono::system_clock::now(), view_.DecimalSeparator())) {
        view_.ShowMessage(Text(Lang::LogNotStarted) + ": " + PrintablePath(directory_ / "logs") +
                              ": " + log->Failure() + ".",
                          WindowView::Icon::Error);
        return;
    }
    log_ = std::move(log);
    ShowLogPanel();
}

// Only reads of the polling the user started: a tick after clearing the
// error memory polls too, but writes no row.
void WindowBehaviour::LogValues() {
    if (!Logging() || !Polling) return;
    if (log_->Write(session_->Sets, std::chrono::system_clock::now())) {
        ShowLogRows();
        return;
    }
    // The file is closed already; polling goes on without it.
    const std::string text =
        Text(Lang::LogStopped) + ": " + PrintablePath(log_->Path()) + ": " + log_->Failure() + ".";
    StopLog();
    view_.ShowMessage(text, WindowView::Icon::Error);
}

void WindowBehaviour::StopLog() {
    if (!log_) return;
    log_.reset();
    ShowLogPanel();
}

void WindowBehaviour::ShowLogPanel() {
    if (!Logging()) {
        view_.SetPanelText(2, NoticeText);
        view_.SetPanelTip(2, {});
        return;
    }
    ShowLogRows();
    view_.SetPanelTip(2, Text(Lang::LogTip) + " " + PrintablePath(log_->Path()));
}

void WindowBehaviour::ShowLogRows() {
    view_.SetPanelText(2, LogMark + std::to_string(log_->Rows()));
}

double WindowBehaviour::TrendSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - trendStart_).count();
}

// A tick that brought no values of the set (a failed read, another page)
// still moves the axis on, so the gap shows as it grows.
void WindowBehaviour::TrendValues(bool read) {
    if (read)
        trend_->Add(TrendSeconds(), session_->Sets);
    else
        trend_->Lapse(TrendSeconds());
    RedrawTrend();
}

// Only while it is shown: a closed trend costs no painting at the ticks, nor
// does a log on view in its place.
void WindowBehaviour::RedrawTrend() {
    if (trendOpen_ && !logWindow_->Showing()) view_.Trend().Redraw();
}

// The first time it opens beside the main window where the screen has room,
// else where it hides least of it; then where the user left it.
void WindowBehaviour::ATrendExecute() {
    TrendView& trend = view_.Trend();
    if (!trendPlaced_) {
        if (const auto screen = trend.Screen()) {
            trendPlaced_ = true;
            const TrendArea place = PlaceTrend(screen->Owner, screen->Width, screen->Height,
                                               screen->WorkArea, screen->Gap);
            trend.MoveTo(place.X, place.Y);
        }
    }
    trendOpen_ = true;
    trend.Show();
    trend.Redraw();
}

// The rows chosen before keep their place and colour; new ones follow, and a
// fifth is unticked again.
void WindowBehaviour::TrendRowsChosen(const std::vector<int>& rows) {
    if (logWindow_->Showing()) {
        logWindow_->RowsChosen(rows);
        return;
    }
    const auto among = [](const std::vector<int>& list, int slot) {
        return std::find(list.begin(), list.end(), slot) != list.end();
    };
    std::vector<int> chosen;
    for (int slot : trend_->Chosen())
        if (among(rows, slot)) chosen.push_back(slot);
    for (int slot : rows)
        if (!among(chosen, slot)) chosen.push_back(slot);
    trend_->Choose(chosen);
    if (trend_->Chosen().size() != rows.size()) ShowTrendRows();
    RedrawTrend();
}

void WindowBehaviour::TrendPeriodChosen(int period) {
    trend_->PeriodSeconds = period == 1 ? 300 : 60;
    RedrawTrend();
}

void WindowBehaviour::TrendClosed() {
    trendOpen_ = false;
}

TrendPicture WindowBehaviour::TrendPlot(int width, int height) const {
    if (logWindow_->Showing()) return logWindow_->Plot(width, height);
    return PlotTrend(*trend_, SetSlots(*session_, trendSet_), width, height,
                     view_.DecimalSeparator());
}

void WindowBehaviour::TrendBackToLive() {
    logWindow_->Close();
    ShowTrendTexts();
    ShowTrendRows();
    RedrawTrend();
}

// A log on view keeps its own title and list, in the language.
void WindowBehaviour::ShowTrendTexts() {
    logWindow_->SetLanguage(session_->Definitions.LanguageIndex);
    if (logWindow_->Showing()) return;
    view_.Trend().SetTexts(Text(Lang::TrendTitle), Text(Lang::TrendRows), Text(Lang::TrendMinute),
                           Text(Lang::TrendFiveMinutes));
    view_.Trend().SetPeriod(trend_->PeriodSeconds == 60 ? 0 : 1);
}

// The rows as the lists show them: code and name.
void WindowBehaviour::ShowTrendRows() {
    if (logWindow_->Showing()) return;
    std::vector<std::string> names;
    for (const ParameterDef* def : SetSlots(*session_, trendSet_))
        names.push_back(Cp1251ToUtf8(def->CodeEn) + "  " + Cp1251ToUtf8(*def->Name));
    std::vector<bool> chosen(names.size(), false);
    for (int slot : trend_->Chosen()) chosen[static_cast<std::size_t>(slot)] = true;
    view_.Trend().SetRows(names, chosen);
}

// The errors and information pages keep the trend of the set before them;
// the other set's page plots the rows chosen there last (at first its first).
void WindowBehaviour::TurnTo(int page) {
    if (page == CurrentPage) return;
    CurrentPage = page;
    StopLog();
    if (!IsParameterPage(page) || page == trendSet_) return;
    trendRows_[static_cast<std::size_t>(trendSet_)] = trend_->Chosen();
    trendSet_ = page;
    trend_->Clear();
    trend_->Choose(trendRows_[static_cast<std::size_t>(trendSet_)]);
    ShowTrendRows();
    RedrawTrend();
}
