// The log viewer's core at a full working day: a log of eight hours at the
// fastest tick (131,000 rows of sixteen values) is written as the window
// writes it, read (rows per second), and four of its columns are decimated to
// 800 pixel columns (as polylines) over the whole day and over one minute of
// it. Prints the whole day's time over the minute's against the bound of 1.5
// that a painted frame must keep, and how long painting a minute's frame must
// take besides for this decimation to keep the frame within that bound (a
// minute's 273 rows leave most pixel columns empty, so decimation alone
// cannot: the whole day draws four points in each of 800 pixel columns).

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "presentation/LiveCsv.h"
#include "window/LogEnvelope.h"
#include "window/LogReader.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Rows = 131'000;
constexpr int TickMs = 220;
constexpr int Pixels = 800;
constexpr std::size_t Curves = 4;
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

int main() {
    const fs::path folder = fs::temp_directory_path() / "vmx-bench-log";
    fs::create_directories(folder);
    const fs::path path = folder / "day.csv";
    WriteLog(path);
    const double megabytes = static_cast<double>(fs::file_size(path)) / (1 << 20);

    LogTable table;
    const double read = Best(3, 1, [&] { ReadLogFile(path, table); });
    std::printf("read %d rows (%.1f MB) in %.0f ms: %.0f rows/s, %.0f MB/s\n",
                static_cast<int>(table.Rows()), megabytes, read * 1e3, table.Rows() / read,
                megabytes / read);

    LogIndex index(table);
    const auto indexStart = Clock::now();
    for (std::size_t c = 0; c < Curves; ++c) index.Of(c);
    std::printf("extremes of %zu columns made in %.1f ms\n", Curves,
                Seconds(Clock::now() - indexStart) * 1e3);

    std::size_t points = 0;
    const auto frame = [&](LogSpan span) {
        return [&, span] {
            for (std::size_t c = 0; c < Curves; ++c) {
                const LogEnvelope envelope = DecimateLogColumn(table, c, index.Of(c), span, Pixels);
                for (const auto& piece : LogPolylines(envelope, {0, 0, 600, -1500, 6500}))
                    points += piece.size();
            }
        };
    };
    const LogSpan whole = table.Whole();
    const LogMillis middle = (whole.From + whole.To) / 2;
    const LogSpan minute{middle, middle + 60'000};
    const double wholeSeconds = Best(7, 200, frame(whole));
    const double minuteSeconds = Best(7, 200, frame(minute));
    std::printf("decimated %zu columns to %d pixel columns: whole day %.1f us, a minute %.1f us\n",
                Curves, Pixels, wholeSeconds * 1e6, minuteSeconds * 1e6);
    const double ratio = wholeSeconds / minuteSeconds;
    std::printf("whole day / minute: %.2f (bound %.1f for a painted frame)\n", ratio, Bound);
    // (paint + whole) / (paint + minute) <= Bound when paint >= this.
    const double paint = std::max(0.0, (wholeSeconds - Bound * minuteSeconds) / (Bound - 1));
    std::printf("a frame keeps the bound when painting a minute takes at least %.0f us besides\n",
                paint * 1e6);
    fs::remove_all(folder);
    return points == 0 ? 1 : 0;
}
