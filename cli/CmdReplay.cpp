// vmxdiag-cli replay: a line recording (from live, errors or info with
// --record) read through the database.ini at hand, without a port: each
// request with its frame, its reply and what the tool made of it, and the live
// values as live prints them.

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "cli/CliDefinitions.h"
#include "cli/Command.h"
#include "cli/Console.h"
#include "cli/ReadingOutput.h"
#include "cli/TextTable.h"
#include "database/ValueText.h"
#include "lang/Lang.h"
#include "platform/LocalTime.h"
#include "presentation/EcuTextLabels.h"
#include "presentation/ErrorList.h"
#include "recording/LineRecording.h"
#include "recording/RecordedLiveValues.h"
#include "recording/RecordingPlayback.h"
#include "recording/RecordingReader.h"

namespace {

struct ReplayOptions {
    std::string File;
    std::string Format = "table";
    std::string Language;
};

std::string Hex(const std::vector<std::uint8_t>& bytes) {
    return bytes.empty() ? "-" : HexBytes(bytes.data(), bytes.size());
}

std::string Seconds(std::uint64_t micros, char decimal = '.') {
    return ValueText(static_cast<double>(micros) / 1e6, 3, decimal);
}

// The start of a recording in the local time of this machine.
std::string LocalStart(const std::string& started) {
    const auto time = ParseStartTime(started);
    if (!time) return started;
    const std::string text =
        LocalTimeText(std::chrono::system_clock::to_time_t(
                          std::chrono::time_point_cast<std::chrono::seconds>(*time)),
                      "%Y-%m-%d %H:%M:%S");
    return text.empty() ? started : text;
}

// The requests by RecordedRequest, as the transcript names them.
constexpr std::array<const char*, 10> RequestNames{
    "probe",        "hour counters", "identification", "user and date", "VIN",
    "error memory", "clear errors",  "live block",     "select",        "unknown request"};

const char* RequestName(RecordedRequest request) {
    return RequestNames[static_cast<std::size_t>(request)];
}

// The requests whose replies fill texts come first, as EcuTextRequest has them.
static_assert(static_cast<int>(RecordedRequest::Probe) == static_cast<int>(EcuTextRequest::Probe) &&
              static_cast<int>(RecordedRequest::Vin) == static_cast<int>(EcuTextRequest::Vin) &&
              static_cast<int>(RecordedRequest::Unknown) + 1 == RequestNames.size());

class Replay {
public:
    Replay(const ReplayOptions& options, const LineRecording& recording,
           const DefinitionDatabase& definitions)
        : options_(options),
          recording_(recording),
          definitions_(definitions),
          labels_(LangText[definitions.LanguageIndex]),
          player_(recording),
          live_(definitions),
          csv_(CsvStyleOf(options.Format)) {}

    // Plays every request; false when a request did not follow its exchange.
    bool Run();

private:
    // What the tool made of a request, for its line of the transcript.
    std::string Outcome(const PlayedRequest& played);
    // The texts a request filled, each with its label.
    std::string Labelled(EcuTextRequest request) const;
    void ShowValues(const PlayedRequest& played);
    // The port lines up to the given line of the recording: where the port
    // was changed or opened again.
    void ShowPortsBefore(std::size_t line);

    const ReplayOptions& options_;
    const LineRecording& recording_;
    std::size_t shownPorts_ = 0;
    const DefinitionDatabase& definitions_;
    const std::array<std::string, Lang::EntryCount>& labels_;
    RecordingPlayer player_;
    RecordedLiveValues live_;
    int blocks_ = 0;
    const std::optional<CsvStyle> csv_;
    std::array<const ParameterDef*, SlotCount> csvColumns_{};
};

bool Replay::Run() {
    const bool csv = csv_.has_value();
    if (csv) PrintCsvStart(*csv_);
    bool followed = true;
    PlayedRequest played;
    // The ports before the first transfer are named in the heading.
    while (shownPorts_ < recording_.Ports.size() && recording_.Ports[shownPorts_].Before == 0)
        ++shownPorts_;
    while (player_.Next(played)) {
        if (!csv) ShowPortsBefore(played.Exchange.Line);
        if (played.Mismatch) {
            followed = false;
            std::fprintf(stderr, "%s:%zu: error: %s\n", options_.File.c_str(),
                         played.Mismatch->Line, Printable(played.Mismatch->Message).c_str());
        }
        if (played.Request == RecordedRequest::Select)
            live_.Select(played.Slot, played.Address, played.Status, player_.Ecu().SelectionAnswer);
        const std::string outcome = Outcome(played);
        if (!csv) {
            const RecordedExchange& exchange = played.Exchange;
            std::printf("%10s  %-14s > %s  < %s  %s\n", Seconds(exchange.Micros).c_str(),
                        RequestName(played.Request), Hex(exchange.Sent).c_str(),
                        Hex(exchange.Reply).c_str(), outcome.c_str());
        }
        if (!played.Succeeded) continue;
        if (played.Request == RecordedRequest::LiveBlock) ShowValues(played);
        if (played.Request == RecordedRequest::ReadErrors && !csv)
            PrintErrorList(ErrorLines(player_.Buffer().data(), definitions_));
    }
    return followed;
}

void Replay::ShowPortsBefore(std::size_t line) {
    for (; shownPorts_ < recording_.Ports.size() && recording_.Ports[shownPorts_].Line < line;
         ++shownPorts_)
        std::printf("%10s  port %s\n", "", Printable(recording_.Ports[shownPorts_].Text).c_str());
}

std::string Replay::Labelled(EcuTextRequest request) const {
    const EcuProtocol& ecu = player_.Ecu();
    std::string text;
    for (const EcuTextField& field : EcuTextFields) {
        if (field.FilledBy != request) continue;
        if (!text.empty()) text += ", ";
        text += labels_[EcuTextLabelOf(field)] + " " + Printable(ecu.*field.Text);
    }
    return text;
}

void Replay::ShowValues(const PlayedRequest& played) {
    live_.ComputeValues(player_.Buffer().data());
    ++blocks_;
    const ParameterSets& sets = live_.Sets();
    if (!csv_) {
        PrintLiveTable(
            sets, definitions_.LanguageIndex,
            "Block " + std::to_string(blocks_) + " at " + Seconds(played.Exchange.Micros) + " s",
            false);
        std::printf("\n");
        return;
    }
    // A selection of other parameters starts the log's columns anew.
    if (sets.Slots != csvColumns_) {
        PrintCsvHeader(sets, *csv_);
        csvColumns_ = sets.Slots;
    }
    PrintCsvLine(sets, Seconds(played.Exchange.Micros, csv_->Decimal), *csv_);
}

std::string Replay::Outcome(const PlayedRequest& played) {
    if (played.Mismatch) return "does not follow the request's exchange";
    const EcuProtocol& ecu = player_.Ecu();
    if (played.Request == RecordedRequest::Select) {
        const ParameterDef& def = *live_.Sets().Slots[played.Slot % SlotCount];
        char address[8];
        std::snprintf(address, sizeof address, "%04X", static_cast<unsigned>(played.Address));
        const std::string text = "slot " + std::to_string(played.Slot) + ", " +
                                 Printable(def.CodeEn) + " (address " + address + "): ";
        if (played.Succeeded) return text + "accepted";
        if (!ecu.SelectionAnswer) return text + "no answer";
        return text + "refused, status " + std::to_string(played.Status);
    }
    if (!played.Succeeded) return played.Exchange.Reply.empty() ? "no reply" : "failed";
    if (played.Request <= RecordedRequest::Vin)
        return Labelled(static_cast<EcuTextRequest>(played.Request));
    switch (played.Request) {
        case RecordedRequest::ReadErrors:
            return "read";
        case RecordedRequest::ClearErrors:
            return "sent";
        case RecordedRequest::LiveBlock:
            return "block " + std::to_string(blocks_ + 1);
        default:
            return "";
    }
}

int RunReplay(const ReplayOptions& options) {
    LineRecording recording;
    const RecordingFileRead read = ReadRecordingFile(options.File, recording);
    if (!read.Unreadable.empty()) {
        std::fprintf(stderr, "%s: error: cannot be read: %s\n", options.File.c_str(),
                     read.Unreadable.c_str());
        return 1;
    }
    if (read.Fault) {
        std::fprintf(stderr, "%s:%zu: error: %s\n", options.File.c_str(), read.Fault->Line,
                     Printable(read.Fault->Message).c_str());
        return 1;
    }
    // A recording whose writing stopped part way (a full disk, a program
    // killed) is played up to its last whole exchange.
    if (read.CutShort)
        std::fprintf(stderr, "%s:%zu: warning: %s; what comes before is played\n",
                     options.File.c_str(), read.CutShort->Line,
                     Printable(read.CutShort->Message).c_str());
    const auto definitions = LoadDefinitions(options.Language);
    if (!definitions) return 1;
    if (!CsvStyleOf(options.Format)) {
        std::string ports;
        for (const RecordedPort& port : recording.Ports)
            if (port.Before == 0) ports += " " + Printable(port.Text);
        const std::string started =
            recording.Started.empty() ? "" : ", started " + LocalStart(recording.Started);
        std::printf("Recording of%s%s: %zu transfers\n\n",
                    ports.empty() ? " an unnamed port" : ports.c_str(), started.c_str(),
                    recording.Transfers.size());
    }
    Replay replay(options, recording, *definitions);
    return replay.Run() ? 0 : 1;
}

void DeclareReplay(CLI::App& command, ReplayOptions& options) {
    command.add_option("FILE", options.File, "the recording")->required();
    AddFormatOption(command, options.Format,
                    "table (every request), or csv or csv-semicolon (the live values, as live "
                    "logs them)");
    AddLanguageOption(command, options.Language);
    command.footer(
        "Values are decoded through database.ini of the current folder, by the addresses the "
        "recording selected.");
}

}  // namespace

void AddReplayCommand(CLI::App& app, int& status) {
    AddCommand(app, status, "replay",
               "Show a recording made with --record: requests, replies and live values", RunReplay,
               DeclareReplay);
}
