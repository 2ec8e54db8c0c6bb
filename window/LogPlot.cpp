// The picture of a log on view: the legend above the plot (the span, or the
// cursor's time, and for each chosen column its code, scale, value at the
// cursor, unit, and its lowest and highest value over the span), a grid with
// the times of day (and the dates, where the log spans midnight) under it,
// the decimated curves (window/LogEnvelope.h), the marks of values out of
// range and of NAN, INF and -INF, a line where the time went back, and the
// cursor.

#include <algorithm>
#include <cmath>

#include "database/ValueText.h"
#include "lang/Lang.h"
#include "window/LogEnvelope.h"
#include "window/LogWindow.h"
#include "window/TrendPlot.h"

namespace {

constexpr int Margin = 8;
constexpr CellColour GridColour{false, 70, 70, 70};
constexpr CellColour LabelColour{false, 180, 180, 180};
constexpr CellColour JumpColour{false, 255, 140, 0};
constexpr CellColour CursorColour{false, 255, 255, 255};
// The room a time of day under its grid line takes, at the views' fonts.
constexpr int LabelWidth = 64;

// Grid steps, from a fifth of a second to a day.
constexpr LogMillis Steps[] = {200,       500,        1'000,      2'000,      5'000,
                               10'000,    15'000,     30'000,     60'000,     120'000,
                               300'000,   600'000,    900'000,    1'800'000,  3'600'000,
                               7'200'000, 10'800'000, 21'600'000, 43'200'000, 86'400'000};

struct Scale {
    double Low = 0.0, High = 1.0;
};

LogMillis FloorTo(LogMillis value, LogMillis step) {
    const LogMillis q = value / step;
    return (q - (value % step < 0 ? 1 : 0)) * step;
}

std::string Number(double value, const LogDefinition* def, const std::string& separator) {
    if (def) return ValueText(value, def->Digits, separator);
    std::string text = NumberText(value);
    if (const auto point = text.find('.'); point != std::string::npos)
        text.replace(point, 1, separator);
    return text;
}

std::string CellText(const LogColumn& column, LogRow row, const LogDefinition* def,
                     const std::string& separator) {
    switch (column.Cell(row)) {
        case LogCell::Number:
            return Number(column.Values[row], def, separator);
        case LogCell::Gap:
            return "-";
        case LogCell::NotANumber:
            return "NAN";
        case LogCell::PlusInfinity:
            return "INF";
        case LogCell::MinusInfinity:
            return "-INF";
    }
    return {};
}

std::string TimeText(const LogTable& table, LogMillis written, bool milliseconds) {
    std::string text = LogTimeOfDay(written, milliseconds);
    return table.SpansMidnight() ? LogDate(written) + " " + text : text;
}

// A polyline of the decimated curve, its steps within a pixel column or to
// the next one as runs of that column (a step to the next split halfway),
// the longer ones as strokes: a day's log is all runs, a minute's mostly
// strokes, and a frame costs about the same either way.
void AddCurve(TrendPicture& picture, CellColour colour, const std::vector<TrendPixel>& points) {
    TrendRuns runs{colour, {}};
    TrendLine line{colour, {}};
    const auto run = [&](int x, int from, int to) {
        const int top = std::min(from, to), bottom = std::max(from, to);
        if (!runs.Runs.empty() && runs.Runs.back().X == x) {
            TrendRun& last = runs.Runs.back();
            last.Top = std::min(last.Top, top);
            last.Bottom = std::max(last.Bottom, bottom);
        } else {
            runs.Runs.push_back({x, top, bottom});
        }
    };
    const auto endLine = [&] {
        if (line.Points.size() > 1) picture.Curves.push_back(line);
        line.Points.clear();
    };
    if (points.size() == 1) run(points[0].X, points[0].Y, points[0].Y);
    for (std::size_t i = 1; i < points.size(); ++i) {
        const TrendPixel &a = points[i - 1], &b = points[i];
        if (b.X - a.X > 1) {
            if (line.Points.empty()) line.Points.push_back(a);
            line.Points.push_back(b);
            continue;
        }
        endLine();
        const int middle = (a.Y + b.Y) / 2;
        run(a.X, a.Y, b.X == a.X ? b.Y : middle);
        if (b.X != a.X) run(b.X, middle, b.Y);
    }
    endLine();
    if (!runs.Runs.empty()) picture.Runs.push_back(std::move(runs));
}

}  // namespace

TrendPicture LogWindow::Plot(int width, int height) {
    TrendPicture picture;
    if (!Showing()) return picture;
    const LogTable& table = *table_;
    const bool days = table.SpansMidnight();
    const int legendLines = 1 + static_cast<int>(chosen_.size());
    const int left = Margin, top = Margin + TrendLineHeight * legendLines;
    const int right = std::max(left + 1, width - Margin);
    const int bottom = std::max(top + 1, height - Margin - TrendLineHeight * (days ? 2 : 1));
    geometry_ = {left, right};
    const int pixels = right - left;
    const LogSpan span = span_;
    const LogMillis spanWidth = std::max<LogMillis>(1, span.To - span.From);
    const auto x = [&](LogMillis axis) {
        return left + static_cast<int>((axis - span.From) * pixels / spanWidth);
    };

    // The time axis: the finest step whose labels keep apart.
    LogMillis step = Steps[std::size(Steps) - 1];
    for (LogMillis candidate : Steps)
        if (candidate * pixels / spanWidth >= LabelWidth + 8) {
            step = candidate;
            break;
        }
    int free = 0;  // where the next label may begin without touching the one before
    for (LogMillis line = FloorTo(span.From, step) + step * (span.From % step != 0 ? 1 : 0);
         line < span.To; line += step) {
        const int at = x(line);
        picture.Grid.push_back({GridColour, {{at, top}, {at, bottom}}});
        const int labelX = std::max(0, at - LabelWidth / 2 + 4);
        if (labelX < free) continue;
        free = labelX + LabelWidth + 4;
        const LogMillis written = table.WrittenTimeAt(line);
        picture.Labels.push_back(
            {LabelColour, {labelX, bottom + 2}, LogTimeOfDay(written, step < 1000)});
        if (days)
            picture.Labels.push_back(
                {LabelColour, {labelX, bottom + 2 + TrendLineHeight}, LogDate(written)});
    }
    for (int quarter = 0; quarter <= 4; ++quarter) {
        const int at = top + (bottom - top) * quarter / 4;
        picture.Grid.push_back({GridColour, {{left, at}, {right, at}}});
    }
    // Where the time went back: a line, and the time it went back to.
    for (const LogJump& jump : table.Jumps()) {
        const LogMillis at = table.AxisTime(jump.Row);
        if (at < span.From || at >= span.To) continue;
        picture.Grid.push_back({JumpColour, {{x(at), top}, {x(at), bottom}}});
        picture.Labels.push_back(
            {JumpColour, {x(at) + 3, top + 2}, "< " + LogTimeOfDay(jump.After)});
    }

    // The first legend line: the span on view, and the cursor's time.
    const LogRows rows = table.RowsIn(span);
    std::string head;
    if (!rows.Empty())
        head = TimeText(table, table.WrittenTime(rows.First), step < 1000) + " .. " +
               TimeText(table, table.WrittenTime(rows.Last - 1), step < 1000);
    if (cursor_) head += "   |   " + TimeText(table, table.WrittenTime(*cursor_), true);
    picture.Labels.push_back({LabelColour, {left + 4, Margin / 2}, head});

    for (std::size_t n = 0; n < chosen_.size(); ++n) {
        const auto c = static_cast<std::size_t>(chosen_[n]);
        const LogColumn& column = table.Columns()[c];
        const LogDefinition* def = definitions_.Of(column.Code);
        const LogExtremes& extremes = index_->Of(c);
        const CellColour colour = TrendColour(n);
        const std::optional<LogRange> range = extremes.Over(rows);
        const bool ranged = def && def->Min < def->Max;
        Scale scale;
        if (ranged) {
            scale = {def->Min, def->Max};
        } else if (range) {
            scale = {range->Low, range->High};
            if (range->Low == range->High) {
                const double room = std::max(1.0, std::abs(range->Low) * 0.1);
                scale = {range->Low - room, range->High + room};
            }
        }
        const std::string unit = def ? (language_ == 1 ? def->UnitEn : def->UnitRu) : column.Unit;
        std::string legend = column.Code + "  " + Number(scale.Low, def, separator_) + " .. " +
                             Number(scale.High, def, separator_);
        if (cursor_) legend += "   = " + CellText(column, *cursor_, def, separator_);
        if (!unit.empty()) legend += " " + unit;
        if (range)
            legend += "   " + Text(Lang::LogMinimum) + " " + Number(range->Low, def, separator_) +
                      "  " + Text(Lang::LogMaximum) + " " + Number(range->High, def, separator_);
        picture.Labels.push_back(
            {colour, {left + 4, Margin / 2 + TrendLineHeight * static_cast<int>(n + 1)}, legend});

        const LogEnvelope envelope = DecimateLogColumn(table, c, extremes, span, pixels);
        for (const auto& piece : LogPolylines(envelope, {left, top, bottom, scale.Low, scale.High}))
            AddCurve(picture, colour, piece);
        if (ranged)
            for (const LogPixelColumn& pixel : envelope.Columns) {
                if (pixel.Low < def->Min)
                    picture.Marks.push_back({WarningColour(), {left + pixel.X, bottom}});
                if (pixel.High > def->Max)
                    picture.Marks.push_back({WarningColour(), {left + pixel.X, top}});
            }
        for (const LogPixelMark& mark : envelope.Marks) {
            const int y = mark.What == LogCell::PlusInfinity    ? top
                          : mark.What == LogCell::MinusInfinity ? bottom
                                                                : (top + bottom) / 2;
            picture.Marks.push_back({colour, {left + mark.X, y}});
        }
    }
    if (cursor_ && table.AxisTime(*cursor_) >= span.From && table.AxisTime(*cursor_) < span.To) {
        const int at = x(table.AxisTime(*cursor_));
        picture.Curves.push_back({CursorColour, {{at, top}, {at, bottom}}});
    }
    return picture;
}
