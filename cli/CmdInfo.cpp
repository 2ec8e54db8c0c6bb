// vmxdiag-cli info: the ECU's identification and engine-hour counters, read and
// labelled as the ECU information page of the window does.

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/CliDefinitions.h"
#include "cli/Command.h"
#include "cli/LineSetup.h"
#include "cli/StopSignals.h"
#include "cli/TextTable.h"
#include "lang/Lang.h"
#include "protocol/EcuInformation.h"
#include "protocol/EcuTextFields.h"

namespace {

struct InfoOptions {
    std::string Port;
    std::string Language;
    RecordOption Record;
};

const char* RequestName(EcuTextRequest request) {
    switch (request) {
        case EcuTextRequest::Probe:
            return "probe";
        case EcuTextRequest::HourCounters:
            return "hour-counter";
        case EcuTextRequest::Identification:
            return "identification";
        case EcuTextRequest::UserAndDate:
            return "user and date";
        case EcuTextRequest::Vin:
            return "VIN";
    }
    return "";
}

int ShowEcuInformation(const InfoOptions& options) {
    // The file is read for its language only: the labels are the window's.
    const auto definitions = LoadSessionDefinitions(options.Language);
    if (!definitions) return 1;
    const auto& labels = LangText[definitions->LanguageIndex];
    CliMessages sink;
    EcuLine line(sink);
    if (!ConnectLine(line, sink, options.Port, options.Record)) return 1;
    const EcuProtocol& ecu = line.Ecu();
    const EcuInformationRead read = ReadEcuInformationRequests(line.Ecu());
    SaveRecording(line);
    if (!read.Succeeded()) {
        std::fprintf(stderr, "The ECU did not answer the probe or the hour-counter request.\n");
        return 1;
    }

    // Fields of a request that was not answered, or not sent (the user, the
    // date and the VIN of other program versions), are left out.
    TextTable table;
    for (const EcuTextField& field : EcuTextFields)
        if (read.Of(field.FilledBy).value_or(false))
            table.Add({labels[field.Label], Printable(ecu.*field.Text)});
    table.Print();
    std::fflush(stdout);
    int status = 0;
    for (std::size_t request = 0; request < read.Answered.size(); ++request) {
        if (read.Answered[request].value_or(true)) continue;
        std::fprintf(stderr, "The ECU did not answer the %s request; its fields are left out.\n",
                     RequestName(static_cast<EcuTextRequest>(request)));
        status = 1;
    }
    return status;
}

}  // namespace

void AddInfoCommand(CLI::App& app, int& status) {
    auto* command =
        app.add_subcommand("info", "Show the ECU's identification and engine-hour counters");
    auto options = std::make_shared<InfoOptions>();
    AddPortOption(*command, options->Port, "Port name or device (default: find the ECU)");
    AddLanguageOption(*command, options->Language);
    AddRecordOption(*command, options->Record);
    command->callback([options, &status] {
        StopSignals stop;
        status = stop.Outcome(ShowEcuInformation(*options));
    });
}
