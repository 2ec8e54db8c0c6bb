// The window polling the simulator pacing at 38400 baud: one live tick of the
// first page (the set already selected) and one tick of the errors page
// against their line times, and the CPU the window's process takes over a
// stretch of real polling every 220 ms on each. The simulator runs in a child
// process, so that its work is not counted.
//
//   bench-window_tick [seconds of polling per page, default 30] [database.ini]

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "LineTiming.h"
#include "TickFigures.h"
#include "app/MainForm.h"
#include "app/StatusPanel.h"
#include "app/TrendForm.h"
#include "app/WindowMessages.h"
#include "sim/posix/EcuSimulator.h"

namespace fs = std::filesystem;

namespace {

class PrintedMessages : public WindowMessages {
public:
    void Show(const QString& text, Icon) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    void ShowNotice(const QString&, const QString& text) override {
        std::fprintf(stderr, "notice: %s\n", qPrintable(text));
    }
    void OpenFile(const QString&) override {}
};

// Serves dosdevices/COM1 of the folder until the parent goes away; returns
// the write end of the pipe whose closing ends the child.
pid_t StartSimulator(const fs::path& folder) {
    int ready[2], alive[2];
    if (::pipe(ready) != 0 || ::pipe(alive) != 0) return -1;
    const pid_t child = ::fork();
    if (child != 0) {
        ::close(ready[1]);
        ::close(alive[0]);
        char byte = 0;
        if (child < 0 || ::read(ready[0], &byte, 1) != 1) return -1;
        return child;  // alive[1] stays open for the parent's life
    }
    ::close(ready[0]);
    ::close(alive[1]);
    {
        EcuSimulator::Options options;
        options.State.ErrorBitmap.fill(0xFF);
        EcuSimulator simulator(options);
        simulator.CreateLink(folder / "dosdevices" / "COM1");
        [[maybe_unused]] auto sent = ::write(ready[1], "x", 1);
        char byte = 0;
        [[maybe_unused]] auto got = ::read(alive[0], &byte, 1);  // end of file: the parent is gone
    }
    std::_Exit(0);
}

// The CPU of the main thread inside each tick of the timer: from its timer
// event to the end of the tick (the tick's own handler is connected first).
struct TickCpu : QObject {
    explicit TickCpu(QTimer* timer) {
        timer->installEventFilter(this);
        connect(timer, &QTimer::timeout, this, [this] {
            TotalMs += bench::ThreadCpuMs() - start_;
            ++Count;
        });
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Timer) start_ = bench::ThreadCpuMs();
        return false;
    }
    double TotalMs = 0;
    int Count = 0;

private:
    double start_ = 0;
};

// Whatever the window has waiting: the painting of what a tick wrote.
void PaintWaiting() {
    QApplication::processEvents();
}

double ProcessCpuMs() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// Polling on the real timer, as a user leaves the window running. The CPU
// inside the ticks is told apart from the painting and the event loop between
// them. Returns the process's CPU in per cent of one core.
double MeasurePolling(TMainForm& form, int seconds, const char* page) {
    TickCpu tickCpu(form.Timer1);
    const double cpuStart = ProcessCpuMs();
    const double wallStart = bench::WallMs();
    QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, qApp, &QApplication::quit);
    QApplication::exec();
    const double wall = bench::WallMs() - wallStart;
    const double cpu = ProcessCpuMs() - cpuStart;
    const int count = std::max(tickCpu.Count, 1);
    std::printf("window polling the %s for %.1f s at %d ms: %d ticks\n", page, wall / 1e3,
                WindowBehaviour::TickMs, tickCpu.Count);
    std::printf("  process CPU       %8.3f %% of one core (target < 0.2 %%)\n", 100.0 * cpu / wall);
    std::printf("  per tick          %8.3f ms CPU: %.3f in the tick, %.3f painting and between\n",
                cpu / count, tickCpu.TotalMs / count, (cpu - tickCpu.TotalMs) / count);
    return 100.0 * cpu / wall;
}

// The window left alone before Start: what the event loop costs by itself.
void MeasureIdle(int seconds) {
    const double cpuStart = ProcessCpuMs();
    const double wallStart = bench::WallMs();
    QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, qApp, &QApplication::quit);
    QApplication::exec();
    const double wall = bench::WallMs() - wallStart;
    std::printf("window idle for %.1f s: process CPU %.3f %% of one core\n", wall / 1e3,
                100.0 * (ProcessCpuMs() - cpuStart) / wall);
}

// What a changed list costs: the memo given a new text of 128 lines and
// painted, against the same text left alone.
void MeasureMemoRewrite(TMainForm& form) {
    constexpr int Rewrites = 100;
    const QString shown = form.Memo1->toPlainText();
    QString other = shown;
    other.replace(u'P', u'Q');
    const double start = bench::ThreadCpuMs();
    for (int i = 0; i < Rewrites; ++i) {
        form.Memo1->setPlainText(i % 2 ? shown : other);
        form.Memo1->repaint();
    }
    const double rewrite = (bench::ThreadCpuMs() - start) / Rewrites;
    std::printf("memo of %lld lines given a new text and painted: %.3f ms CPU\n",
                static_cast<long long>(shown.count(u'\n') + 1), rewrite);
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 30;
    const fs::path database = argc > 2 ? argv[2] : VMX_SOURCE_DIR "/data/database.ini";
    std::string name = (fs::temp_directory_path() / "vmx-bench-XXXXXX").string();
    if (!::mkdtemp(name.data())) return 1;
    const fs::path folder = name;
    fs::copy_file(database, folder / "database.ini");
    const pid_t simulator = StartSimulator(folder);
    if (simulator < 0) {
        std::fprintf(stderr, "the simulator did not start\n");
        return 1;
    }

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    PrintedMessages messages;
    int status = 0;
    {
        WindowBehaviour::Options options;
        options.Directory = folder;
        TMainForm form(messages, options);
        form.show();
        QApplication::processEvents();
        MeasureIdle(seconds);
        form.ADiag->trigger();
        form.Behaviour().Timer1Timer();  // selects the set: not part of the measured tick
        QApplication::processEvents();

        bool linked =
            MeasureTicks(form.Behaviour(), "window live tick (block read, values into the list)",
                         FrameSize + 2 + ReplyLength::LiveBlock, PaintWaiting);
        const double alone = MeasurePolling(form, seconds, "first page");

        // The trend window beside it with four curves, each a minute long
        // already (the trend took the values of the polling above).
        form.ATrend->trigger();
        form.Behaviour().TrendRowsChosen({0, 1, 2, 3});
        QApplication::processEvents();
        const double withTrend =
            MeasurePolling(form, seconds, "first page, the trend window open with four rows");
        std::printf("  with the trend / without: %.2f (target < 2)\n",
                    alone > 0 ? withTrend / alone : 0.0);
        form.TrendWindow->close();

        // The errors page with all 128 errors stored: the longest list, the
        // same at every read, as errors stay stored.
        form.PageControl1->setCurrentIndex(2);
        form.Behaviour().Timer1Timer();
        linked = MeasureTicks(form.Behaviour(),
                              "window errors tick (error read, 128 lines into the memo)",
                              FrameSize + 2 + ReplyLength::ErrorBitmap, PaintWaiting) &&
                 linked;
        MeasurePolling(form, seconds, "errors page");
        MeasureMemoRewrite(form);
        status = linked ? 0 : 1;
    }
    ::kill(simulator, SIGTERM);
    ::waitpid(simulator, nullptr, 0);
    fs::remove_all(folder);
    return status;
}
