// vmxdiag-cli live: the live values of one parameter set, read as the window
// reads them: the set's slots are selected, then the block is read every
// interval; a failed read selects the set again at the next one.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

#include "cli/CliSession.h"
#include "cli/Command.h"
#include "cli/Console.h"
#include "cli/ReadingOutput.h"
#include "cli/StopSignals.h"
#include "cli/TextTable.h"
#include "line/LineRecovery.h"
#include "line/LivePolling.h"
#include "text/CodePage.h"

namespace {

// One read on the line: the request, its echo overlapping, then the reply.
constexpr int LiveTickBytes = FrameSize + 2 + ReplyLength::LiveBlock;

struct LiveOptions {
    int Set = 1;
    int Count = 0;  // 0: until stopped
    int IntervalMs = 220;
    std::string Format = "table";
    SessionChoice Session;
};

void ReportSelection(const ParameterSets& sets, int read) {
    const SlotSelection& selection = sets.Selection;
    if (selection.Complete()) return;
    const ParameterDef& def = *sets.Slots[selection.Accepted];
    const std::string code = Printable(def.CodeEn);
    const unsigned address = static_cast<unsigned>(def.Address) & 0xFFFF;
    if (selection.Refusal == -7 && !selection.RefusalByte)
        std::fprintf(stderr, "Read %d: no answer to the selection of slot %d (%s, address %04X)",
                     read, selection.Accepted, code.c_str(), address);
    else if (selection.Refusal == -7)
        std::fprintf(stderr,
                     "Read %d: the ECU answered the selection of slot %d (%s, address %04X) with "
                     "the unknown status byte %02X",
                     read, selection.Accepted, code.c_str(), address, *selection.RefusalByte);
    else
        std::fprintf(stderr, "Read %d: the ECU refused slot %d (%s, address %04X), status %d", read,
                     selection.Accepted, code.c_str(), address, selection.Refusal);
    std::fprintf(stderr, "; that slot and the ones after it are not shown.\n");
}

// "Set 1, read 12 (Ctrl+C to stop)"; a run with a count stops by itself.
std::string TableTitle(const LiveOptions& options, int read) {
    std::string title = "Set " + std::to_string(options.Set) + ", read " + std::to_string(read);
    return options.Count == 0 ? title + " (Ctrl+C to stop)"
                              : title + " of " + std::to_string(options.Count);
}

// After a hang-up every transfer fails until the port is opened again: try
// to, so that a replugged adapter brings the readings back. True when the port
// is usable.
bool LineIsUp(EcuLine& line, bool& linkOk, bool& lost) {
    switch (KeepLineUp(line, linkOk)) {
        case LineRecovery::NotLost:
            return true;
        case LineRecovery::Restored:
            std::fprintf(stderr, "%s answers again (%s).\n", line.PortName().c_str(),
                         line.Device().c_str());
            lost = false;
            return true;
        case LineRecovery::StillLost:
            break;
    }
    if (!lost)
        std::fprintf(stderr, "The line to the ECU is lost (adapter unplugged?); trying %s again.\n",
                     line.PortName().c_str());
    lost = true;
    return false;
}

int RunLive(const LiveOptions& options) {
    // First of all, so that Ctrl+C during start-up ends the run cleanly too.
    StopSignals stop;
    CliMessages sink;
    const auto session = ConnectSession(sink, options.Session, DefinitionNeed::Parameters);
    if (!session) return 1;
    EcuLine& line = session->Line;
    ParameterSets& sets = session->Sets;
    sets.SelectSet(options.Set - 1);
    const std::optional<CsvStyle> csv = CsvStyleOf(options.Format);
    const bool terminal = OutputIsTerminal();
    if (csv) {
        PrintCsvStart(*csv);
        PrintCsvHeader(sets, *csv);
    }

    bool linkOk = false, lost = false, lastGood = false;
    int reads = 0, good = 0;
    // The rate counts from the end of the first good read, which also selected the set.
    std::chrono::steady_clock::time_point firstRead, lastRead;
    while (!stop.Requested()) {
        int pauseMs = options.IntervalMs;
        if (!LineIsUp(line, linkOk, lost)) {
            // A read that could not be made counts as a failed one, so --count ends.
            ++reads;
            linkOk = false;
            lastGood = false;
            // Never faster than the window's tick while the device is gone.
            pauseMs = std::max(pauseMs, 220);
        } else {
            const bool selecting = !linkOk;
            const bool ok = PollLiveData(line, sets, options.Set - 1, linkOk);
            lastRead = std::chrono::steady_clock::now();
            if (good == 0) firstRead = lastRead;
            ++reads;
            if (selecting) ReportSelection(sets, reads);
            lastGood = ok && sets.Selection.Complete();
            if (lastGood) ++good;
            if (ok) {
                if (csv)
                    PrintCsvLine(sets, CsvTime(std::chrono::system_clock::now()), *csv);
                else
                    PrintLiveTable(sets, session->Definitions.LanguageIndex,
                                   TableTitle(options, reads), terminal);
            } else if (!line.IsHungUp()) {
                std::fprintf(stderr, "Read %d: no live block; the set is selected again.\n", reads);
            }
        }
        // Between reads, so that writing the recording never holds one up.
        SaveRecording(line);
        // Nobody reads the values any more (`| head`): the run is over.
        if (std::ferror(stdout)) break;
        if (options.Count != 0 && reads >= options.Count) break;
        if (stop.WaitMs(pauseMs)) break;
    }
    const bool outputLost = std::ferror(stdout) != 0;
    if (!csv && terminal && !outputLost) std::printf("\n");
    const double seconds = std::chrono::duration<double>(lastRead - firstRead).count();
    std::fprintf(stderr, "%d of %d reads succeeded", good, reads);
    if (good > 1 && seconds > 0)
        std::fprintf(stderr,
                     ", %.1f reads a second (the line carries at most %.1f a second, with no "
                     "pause between reads)",
                     (good - 1) / seconds, 1.0 / (LiveTickBytes * 10.0 / 38400.0));
    if (reads > 0 && !lastGood) std::fprintf(stderr, "; the last read failed");
    if (outputLost) std::fprintf(stderr, "; the output was closed");
    std::fprintf(stderr, ".\n");
    // A run is good when its values were still coming at its end. A stop is
    // how a run without a count ends; one with a count it cuts short.
    const int status = lastGood && !outputLost ? 0 : 1;
    return options.Count != 0 && reads < options.Count ? stop.Outcome(status) : status;
}

void DeclareLive(CLI::App& command, LiveOptions& options) {
    command.add_option("--set", options.Set, "Parameter set, 1 or 2")->check(CLI::Range(1, 2));
    command.add_option("--count", options.Count, "Number of reads (0: until Ctrl+C)")
        ->check(CLI::Validator(
            [](std::string& count) {
                return count.starts_with('-')
                           ? "a negative number of reads is refused: give 0 (read until "
                             "stopped) or more"
                           : std::string();
            },
            ""));
    command
        .add_option("--interval", options.IntervalMs,
                    "Milliseconds from the end of one read to the next (0: back to back)")
        ->check(CLI::Range(0, 3600000));
    AddFormatOption(command, options.Format,
                    "table (one screen), csv (a log), or csv-semicolon (a log for spreadsheets "
                    "with the decimal comma)");
    AddRecordingSessionOptions(command, options.Session);
}

}  // namespace

void AddLiveCommand(CLI::App& app, int& status) {
    // RunLive takes the stops itself: a stop ends a run without --count as it ends.
    AddCommand(app, status, "live", "Read the live values of a parameter set", RunLive,
               DeclareLive);
}
