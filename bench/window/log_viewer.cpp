// The log viewer at a full working day: a log of eight hours at the fastest
// tick (131,000 rows of sixteen values) is written as the window writes it and
// opened in the viewer (rows per second); then the picture of four curves is
// made in the core and painted into an image with the Qt plot's own painter,
// over the whole day and over one minute of it. Prints the whole day's
// painting time over the minute's, against the bound of 1.5 (decimated to a
// run of pixels per pixel column, a day draws about as fast as a minute), and
// the same of the picture made and painted, as at a zoom or a move.

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/TrendPainting.h"
#include "presentation/LiveCsv.h"
#include "window/LogWindow.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Rows = 131'000;
constexpr int TickMs = 220;
constexpr int Width = 1000, Height = 600;
constexpr double Bound = 1.5;

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// A log as the window writes it with a decimal comma: values that wander,
// with a spike now and then.
void WriteLog(const fs::path& path) {
    ParameterSets::Definitions definitions{};
    for (int i = 0; i < SlotCount; ++i) {
        definitions[i].CodeEn = "P" + std::to_string(i);
        definitions[i].UnitRu = "kPa";
        definitions[i].Digits = static_cast<std::uint8_t>(i % 3);
    }
    ParameterSets sets(definitions);
    sets.Selection.Accepted = SlotCount;
    const CsvStyle style{';', ',', true};
    std::ofstream out(path, std::ios::binary);
    out << CsvStart(style) << CsvHeader(sets.Slots, style);
    const auto start = std::chrono::system_clock::now();
    for (int row = 0; row < Rows; ++row) {
        for (int slot = 0; slot < SlotCount; ++slot)
            sets.Values[slot] = 1000 * std::sin(row * 0.001 * (slot + 1)) +
                                (row % 4099 == slot ? 5000 : 0) + slot * 10;
        out << CsvRow(sets, CsvTime(start + std::chrono::milliseconds(TickMs * row)), style);
    }
}

// A window that shows nothing: the benchmark paints the pictures itself.
class NoView : public TrendView {
public:
    void SetTexts(const std::string&, const std::string&, const std::string&,
                  const std::string&) override {}
    void SetRows(const std::vector<std::string>&, const std::vector<bool>&) override {}
    void SetPeriod(int) override {}
    void Redraw() override {}
    std::optional<TrendScreen> Screen() const override { return std::nullopt; }
    void MoveTo(int, int) override {}
    void Show() override {}
    void SetLogControls(const std::string&, const std::string&, bool) override {}
    std::optional<fs::path> AskLogFile(const std::string&, const std::string&,
                                       const fs::path&) override {
        return std::nullopt;
    }
    void ShowLogMessage(const std::string& text) override {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
};

// The best of several runs of `work`, in seconds per call.
template <typename Work>
double Best(int runs, int calls, Work work) {
    double best = 1e9;
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        for (int call = 0; call < calls; ++call) work();
        best = std::min(best, Seconds(Clock::now() - start) / calls);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    const fs::path folder = fs::temp_directory_path() / "vmx-bench-log";
    fs::create_directories(folder);
    const fs::path path = folder / "day.csv";
    WriteLog(path);
    const double megabytes = static_cast<double>(fs::file_size(path)) / (1 << 20);

    NoView view;
    std::unique_ptr<LogWindow> log;
    const double read = Best(3, 1, [&] { log = OpenLogAlone(view, folder, path, ","); });
    if (!log) return 1;
    std::printf("opened %d rows (%.1f MB) in %.0f ms: %.0f rows/s, %.0f MB/s\n",
                static_cast<int>(log->Table().Rows()), megabytes, read * 1e3,
                log->Table().Rows() / read, megabytes / read);

    QImage image(Width, Height, QImage::Format_ARGB32_Premultiplied);
    QFont font;
    font.setPixelSize(12);
    TrendPainter painter(font);
    const auto paint = [&](const TrendPicture& picture) {
        QPainter onto(&image);
        painter.Paint(onto, picture, Width, image.rect(), QRegion(image.rect()));
    };
    // A frame: the picture made for the span, and painted.
    const auto frame = [&] { paint(log->Plot(Width, Height)); };
    const auto strokes = [](const TrendPicture& picture) {
        std::size_t points = 0, runs = 0;
        for (const TrendLine& curve : picture.Curves) points += curve.Points.size();
        for (const TrendRuns& curve : picture.Runs) runs += curve.Runs.size();
        return std::to_string(points) + " points, " + std::to_string(runs) + " runs";
    };
    frame();  // the columns' extremes are made at the first picture
    const LogSpan whole = log->Table().Whole();
    const LogMillis middle = (whole.From + whole.To) / 2;
    log->SetSpan(whole);
    const TrendPicture day = log->Plot(Width, Height);
    const double dayFrame = Best(5, 40, frame);
    const double dayPaint = Best(5, 40, [&] { paint(day); });
    log->SetSpan({middle, middle + 60'000});
    const TrendPicture minute = log->Plot(Width, Height);
    const double minuteFrame = Best(5, 40, frame);
    const double minutePaint = Best(5, 40, [&] { paint(minute); });
    std::printf("%zu curves into a %dx%d image: the whole day %s, a minute %s\n",
                log->Chosen().size(), Width, Height, strokes(day).c_str(), strokes(minute).c_str());
    std::printf("painted: whole day %.2f ms, a minute %.2f ms\n", dayPaint * 1e3,
                minutePaint * 1e3);
    std::printf("made and painted: whole day %.2f ms, a minute %.2f ms\n", dayFrame * 1e3,
                minuteFrame * 1e3);
    const double ratio = dayPaint / minutePaint;
    std::printf("painting, whole day / minute: %.2f (bound %.1f)\n", ratio, Bound);
    std::printf("made and painted, whole day / minute: %.2f\n", dayFrame / minuteFrame);
    fs::remove_all(folder);
    return ratio <= Bound ? 0 : 1;
}
