// Opening a log, and what the viewer's events do to what is on view.

#include "window/LogWindow.h"

#include <algorithm>
#include <cstdlib>

#include "lang/Lang.h"
#include "session/SessionDefinitions.h"
#include "text/PathText.h"
#include "window/LogReader.h"

namespace {

constexpr std::size_t MostChosen = 4;
// The narrowest span a zoom goes to: a few rows at the fastest tick.
constexpr LogMillis NarrowestSpan = 2'000;
// How far a press may move and still be a click.
constexpr int ClickSlack = 3;

}  // namespace

LogWindow::LogWindow(TrendView& view, std::filesystem::path folder, LogDefinitions definitions,
                     std::string decimalSeparator, bool alone)
    : view_(view),
      folder_(std::move(folder)),
      definitions_(std::move(definitions)),
      separator_(std::move(decimalSeparator)),
      alone_(alone),
      language_(definitions_.Language) {}

std::string LogWindow::Text(std::size_t entry) const {
    return LangText[language_ == 1 ? 1 : 0][entry];
}

void LogWindow::AskAndOpen() {
    const std::string open = Text(Lang::LogOpenButton);
    // The button's caption without its ellipsis: the dialog is where it leads.
    const std::string title = open.substr(0, open.rfind("\u2026"));
    if (const auto path = view_.AskLogFile(title, Text(Lang::LogFileFilter), folder_ / "logs"))
        Open(*path);
}

std::string LogWindow::NoLogText(const std::filesystem::path& path, const LogFileRead& read) const {
    std::string text = Text(Lang::LogNotALog) + ": " + PrintablePath(path) + "\n";
    const LogFault& fault = *read.Fault;
    switch (fault.What) {
        case LogFault::Kind::Empty:
            return text + Text(Lang::LogEmptyFile) + ".";
        case LogFault::Kind::NotAHeader:
            text += Text(Lang::LogNoTimeHeader);
            break;
        case LogFault::Kind::TooManyRows:
            text += Text(Lang::LogTooManyRows) + " " + std::to_string(fault.MostRows);
            break;
    }
    return text + ".\n" + Text(Lang::LogLineWord) + " " + std::to_string(fault.Line) + ": " +
           fault.Excerpt;
}

bool LogWindow::Open(const std::filesystem::path& path) {
    auto table = std::make_unique<LogTable>();
    const LogFileRead read = ReadLogFile(path, *table);
    if (!read.Unreadable.empty()) {
        view_.ShowLogMessage(Text(Lang::LogNotOpened) + ": " + PrintablePath(path) + ": " +
                             read.Unreadable + ".");
        return false;
    }
    if (read.Fault) {
        view_.ShowLogMessage(NoLogText(path, read));
        return false;
    }
    path_ = path;
    index_.reset();
    table_ = std::move(table);
    index_ = std::make_unique<LogIndex>(*table_);
    chosen_.clear();
    for (std::size_t c = 0; c < std::min(MostChosen, table_->Columns().size()); ++c)
        chosen_.push_back(static_cast<int>(c));
    span_ = table_->Whole();
    cursor_.reset();
    ShowLog();
    if (read.Skipped > 0) {
        std::string text = Text(Lang::LogRowsSkipped) + ": " + std::to_string(read.Skipped) + " (" +
                           Text(Lang::LogLineWord) + " " + std::to_string(read.FirstSkip->Line) +
                           ", ...): " + PrintablePath(path) + ".";
        view_.ShowLogMessage(text);
    }
    return true;
}

void LogWindow::Close() {
    index_.reset();
    table_.reset();
    cursor_.reset();
    ShowControls();
}

void LogWindow::SetLanguage(std::uint8_t language) {
    language_ = language;
    if (Showing())
        ShowLog();
    else
        ShowControls();
}

void LogWindow::ShowControls() {
    const bool back = Showing() && !alone_;
    view_.SetLogControls(Text(Lang::LogOpenButton), back ? Text(Lang::LogBackButton) : "",
                         !Showing());
}

void LogWindow::ShowLog() {
    view_.SetTexts(Text(Lang::LogViewerTitle) + " - " + PrintablePath(path_.filename()),
                   Text(Lang::TrendRows), "", "");
    ShowControls();
    ShowRows();
    view_.Redraw();
}

// The columns by code and, where database.ini defines the code, the name.
void LogWindow::ShowRows() {
    std::vector<std::string> names;
    for (const LogColumn& column : table_->Columns()) {
        const LogDefinition* def = definitions_.Of(column.Code);
        names.push_back(def ? column.Code + "  " + (language_ == 1 ? def->NameEn : def->NameRu)
                            : column.Heading);
    }
    std::vector<bool> chosen(names.size(), false);
    for (int c : chosen_) chosen[static_cast<std::size_t>(c)] = true;
    view_.SetRows(names, chosen);
}

// As the live trend: the columns chosen before keep their place and colour,
// new ones follow, and a fifth is unticked again.
void LogWindow::RowsChosen(const std::vector<int>& rows) {
    if (!Showing()) return;
    const auto among = [](const std::vector<int>& list, int c) {
        return std::find(list.begin(), list.end(), c) != list.end();
    };
    const int columns = static_cast<int>(table_->Columns().size());
    std::vector<int> chosen;
    for (int c : chosen_)
        if (among(rows, c)) chosen.push_back(c);
    for (int c : rows)
        if (c >= 0 && c < columns && !among(chosen, c) && chosen.size() < MostChosen)
            chosen.push_back(c);
    chosen_ = std::move(chosen);
    if (chosen_.size() != rows.size()) ShowRows();
    view_.Redraw();
}

// Within the log, and never narrower than a few rows.
void LogWindow::SetSpan(LogSpan span) {
    const LogSpan whole = table_->Whole();
    const LogMillis width = std::clamp(
        span.To - span.From, std::min(NarrowestSpan, whole.To - whole.From), whole.To - whole.From);
    const LogMillis from = std::clamp(span.From, whole.From, whole.To - width);
    span_ = {from, from + width};
}

void LogWindow::Zoom(double factor, LogMillis around) {
    const double width = static_cast<double>(span_.To - span_.From);
    const double share = width > 0 ? static_cast<double>(around - span_.From) / width : 0.5;
    const auto wanted = static_cast<LogMillis>(width * factor);
    const LogMillis from = around - static_cast<LogMillis>(share * static_cast<double>(wanted));
    SetSpan({from, from + std::max<LogMillis>(wanted, 1)});
    view_.Redraw();
}

void LogWindow::Move(LogMillis by) {
    SetSpan({span_.From + by, span_.To + by});
    view_.Redraw();
}

LogMillis LogWindow::AxisAt(int x) const {
    const int pixels = std::max(1, geometry_.Right - geometry_.Left);
    const int at = std::clamp(x - geometry_.Left, 0, pixels);
    return span_.From + (span_.To - span_.From) * at / pixels;
}

// The span follows a cursor that leaves it.
void LogWindow::PutCursor(LogRow row) {
    cursor_ = row;
    const LogMillis at = table_->AxisTime(row);
    const LogMillis width = span_.To - span_.From;
    if (at < span_.From)
        SetSpan({at, at + width});
    else if (at >= span_.To)
        SetSpan({at + 1 - width, at + 1});
    view_.Redraw();
}

bool LogWindow::Key(int virtualKey, bool control) {
    if (control && virtualKey == LogKey::O) {
        AskAndOpen();
        return true;
    }
    if (!Showing() || table_->Rows() == 0) return false;
    const LogMillis width = span_.To - span_.From;
    const LogMillis centre = cursor_ ? table_->AxisTime(*cursor_) : span_.From + width / 2;
    switch (virtualKey) {
        case LogKey::Plus:
        case LogKey::Add:
            Zoom(0.5, centre);
            return true;
        case LogKey::Minus:
        case LogKey::Subtract:
            Zoom(2.0, centre);
            return true;
        case LogKey::Home:
            Move(table_->Whole().From - span_.From);
            return true;
        case LogKey::End:
            Move(table_->Whole().To - span_.To);
            return true;
        case LogKey::Left:
        case LogKey::Right: {
            const int step = virtualKey == LogKey::Left ? -1 : 1;
            if (control) {
                Move(step * std::max<LogMillis>(1, width / 4));
                return true;
            }
            const auto last = static_cast<LogRow>(table_->Rows() - 1);
            if (!cursor_) {
                const LogRows rows = table_->RowsIn(span_);
                PutCursor(std::min(rows.First, last));
            } else if (step < 0 ? *cursor_ > 0 : *cursor_ < last) {
                PutCursor(*cursor_ + static_cast<LogRow>(step));
            }
            return true;
        }
        default:
            return false;
    }
}

void LogWindow::Wheel(int steps, int x) {
    if (!Showing() || table_->Rows() == 0 || steps == 0) return;
    Zoom(steps > 0 ? 0.5 : 2.0, AxisAt(x));
}

void LogWindow::Press(int x) {
    pressedAt_ = x;
    draggedFrom_ = x;
    dragged_ = false;
}

void LogWindow::Drag(int x) {
    if (!Showing() || !draggedFrom_ || table_->Rows() == 0) return;
    if (std::abs(x - *pressedAt_) > ClickSlack) dragged_ = true;
    if (!dragged_) return;
    const int pixels = std::max(1, geometry_.Right - geometry_.Left);
    const LogMillis by = (span_.To - span_.From) * (*draggedFrom_ - x) / pixels;
    draggedFrom_ = x;
    if (by != 0) Move(by);
}

void LogWindow::Release(int x) {
    const bool click = pressedAt_ && !dragged_;
    pressedAt_.reset();
    draggedFrom_.reset();
    if (!click || !Showing()) return;
    if (const auto row = table_->RowAt(AxisAt(x))) PutCursor(*row);
}

std::unique_ptr<LogWindow> OpenLogAlone(TrendView& view, const std::filesystem::path& folder,
                                        const std::filesystem::path& file,
                                        std::string decimalSeparator) {
    auto window =
        std::make_unique<LogWindow>(view, folder, ReadLogDefinitions(DefinitionFileOf(folder)),
                                    std::move(decimalSeparator), true);
    if (!window->Open(file)) return nullptr;
    return window;
}
