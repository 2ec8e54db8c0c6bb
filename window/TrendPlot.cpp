#include "window/TrendPlot.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <utility>

#include "database/ValueText.h"
#include "platform/LocalTime.h"
#include "text/Printable.h"

namespace {

constexpr int Margin = 8;
constexpr CellColour GridColour{false, 70, 70, 70};
constexpr CellColour LabelColour{false, 180, 180, 180};
// Half the width of a time of day under its grid line, at the views' fonts.
constexpr int HalfLabel = 24;

// The range a curve is drawn in: the definition's when it has one, else its
// values' own, widened where they are all one.
struct Scale {
    double Low = 0.0;
    double High = 1.0;
};

Scale ScaleOf(const ParameterDef& def, const Trend::Series& series, double from) {
    if (def.Min < def.Max) return {def.Min, def.Max};
    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (std::size_t i = series.FirstFrom(from); i < series.Size(); ++i) {
        const Trend::Point& point = series.At(i);
        if (!std::isfinite(point.Value)) continue;
        low = std::min(low, point.Value);
        high = std::max(high, point.Value);
    }
    if (low > high) return {};
    if (low == high) {
        const double room = std::max(1.0, std::abs(low) * 0.1);
        return {low - room, high + room};
    }
    return {low, high};
}

// "14:15:40": a moment in seconds since 1970, as the local time of day.
std::string TimeOfDay(double seconds) {
    return LocalTimeText(static_cast<std::time_t>(std::floor(seconds)), "%H:%M:%S");
}

std::string Text(const ParameterDef& def, double value, const std::string& separator) {
    std::string text = Printable(def.CodeEn) + " " + ValueText(value, def.Digits, separator);
    if (!def.Unit->empty()) text += " " + Printable(*def.Unit);
    return text;
}

// Texts beside the curves' ends, as near them as they can be without one
// over another or out of the area.
void SpreadLines(std::vector<TrendText>& texts, int height) {
    std::sort(texts.begin(), texts.end(),
              [](const TrendText& a, const TrendText& b) { return a.At.Y < b.At.Y; });
    int next = 0;
    for (TrendText& text : texts) {
        text.At.Y = std::max(text.At.Y, next);
        next = text.At.Y + TrendLineHeight;
    }
    int last = height - TrendLineHeight;
    for (auto text = texts.rbegin(); text != texts.rend(); ++text) {
        text->At.Y = std::max(0, std::min(text->At.Y, last));
        last = text->At.Y - TrendLineHeight;
    }
}

}  // namespace

CellColour TrendColour(std::size_t n) {
    constexpr CellColour Colours[] = {
        {false, 0, 255, 0}, {false, 255, 255, 0}, {false, 0, 200, 255}, {false, 255, 90, 255}};
    return Colours[n % std::size(Colours)];
}

TrendPicture PlotTrend(const Trend& trend, const ParameterSets::SlotDefinitions& rows, int width,
                       int height, const std::string& decimalSeparator) {
    TrendPicture picture;
    // The legend has a band of its own above the plot, a line for each
    // chosen row, so that it never hides a curve.
    const int legendLines = static_cast<int>(trend.Chosen().size());
    const int left = Margin, top = Margin + TrendLineHeight * legendLines;
    const int right = std::max(left + 1, width - TrendValueRoom);
    const int bottom = std::max(top + 1, height - Margin - TrendLineHeight);

    // The axis ends at the grid line at or after the present (the latest
    // read, or the latest tick that brought none), in the system clock's
    // seconds, and reaches a step further back than the period: the last
    // period is always in view.
    const int step = trend.PeriodSeconds > 60 ? 60 : 10;
    const double origin = trend.OriginSeconds;
    const double end = std::ceil((origin + trend.Now()) / step) * step;
    const double start = end - std::max(1, trend.PeriodSeconds) - step;
    const auto x = [&](double seconds) {
        const double share = (origin + seconds - start) / (end - start);
        return left + static_cast<int>(std::lround(share * (right - left)));
    };

    // Where the lines are closer than a time of day is wide, only every
    // second (third...) is labelled: those at a multiple of the wider step,
    // so that a label stays with its line as the axis moves.
    const double spacing = (right - left) * step / (end - start);
    const int every = std::max(1, static_cast<int>(std::ceil((2 * HalfLabel + 16) / spacing)));
    for (double line = start; line <= end; line += step) {
        const int at = x(line - origin);
        picture.Grid.push_back({GridColour, {{at, top}, {at, bottom}}});
        if (std::fmod(line, static_cast<double>(step) * every) == 0.0)
            picture.Labels.push_back(
                {LabelColour, {std::max(0, at - HalfLabel), bottom + 2}, TimeOfDay(line)});
    }
    for (int quarter = 0; quarter <= 4; ++quarter) {
        const int at = top + (bottom - top) * quarter / 4;
        picture.Grid.push_back({GridColour, {{left, at}, {right, at}}});
    }

    const double from = start - origin;
    for (std::size_t n = 0; n < trend.Chosen().size(); ++n) {
        const int slot = trend.Chosen()[n];
        const ParameterDef& def = *rows[static_cast<std::size_t>(slot)];
        const Trend::Series& series = trend.Of(slot);
        const CellColour colour = TrendColour(n);
        const Scale scale = ScaleOf(def, series, from);
        std::string legend = Printable(def.CodeEn) + "  " +
                             ValueText(scale.Low, def.Digits, decimalSeparator) + " .. " +
                             ValueText(scale.High, def.Digits, decimalSeparator);
        if (!def.Unit->empty()) legend += " " + Printable(*def.Unit);
        picture.Labels.push_back(
            {colour, {left + 4, Margin / 2 + TrendLineHeight * static_cast<int>(n)}, legend});
        const auto y = [&](double value) {
            const double share = (value - scale.Low) / (scale.High - scale.Low);
            const int at = bottom - static_cast<int>(std::lround(share * (bottom - top)));
            return std::clamp(at, top, bottom);
        };
        // A piece for each run of reads without a lapse (or a value that is
        // no number) between them: a gap is left a gap, not bridged by a ramp.
        TrendLine piece{colour, {}};
        bool joined = false;  // the point before is in the piece
        for (std::size_t i = series.FirstFrom(from); i < series.Size(); ++i) {
            const Trend::Point& point = series.At(i);
            if (!std::isfinite(point.Value)) {
                joined = false;
                continue;
            }
            if (!(joined && point.Joined) && !piece.Points.empty())
                picture.Curves.push_back(std::exchange(piece, TrendLine{colour, {}}));
            const TrendPixel pixel{x(point.Seconds), y(point.Value)};
            piece.Points.push_back(pixel);
            joined = true;
            if (OutOfRange(def, point.Value)) picture.Marks.push_back({WarningColour(), pixel});
        }
        if (piece.Points.empty()) continue;
        // Grey while reads fail, as the list's values are: it is the last
        // value known, not the present one.
        const Trend::Point& latest = series.Latest();
        const CellColour textColour = series.Broken()                 ? StaleColour()
                                      : OutOfRange(def, latest.Value) ? WarningColour()
                                                                      : colour;
        picture.Values.push_back({textColour,
                                  {right + 6, piece.Points.back().Y - TrendLineHeight / 2},
                                  Text(def, latest.Value, decimalSeparator)});
        picture.Curves.push_back(std::move(piece));
    }
    SpreadLines(picture.Values, height);
    return picture;
}
