// vmxdiag-cli info: the ECU's identification and engine-hour counters, read and
// labelled as the ECU information page of the window does.

#include <cstdio>
#include <memory>
#include <string>

#include "cli/CliDefinitions.h"
#include "cli/Command.h"
#include "cli/LineSetup.h"
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

int ShowEcuInformation(const InfoOptions& options) {
    // The file is read for its language only: the labels are the window's.
    const auto definitions = LoadSessionDefinitions(options.Language);
    if (!definitions) return 1;
    const auto& labels = LangText[definitions->LanguageIndex];
    CliMessages sink;
    EcuLine line(sink);
    if (!ConnectLine(line, sink, options.Port, options.Record)) return 1;
    const EcuProtocol& ecu = line.Ecu();
    const bool read = ReadEcuInformation(line.Ecu());
    SaveRecording(line);
    if (!read) {
        std::fprintf(stderr, "The ECU did not answer the probe or the hour-counter request.\n");
        return 1;
    }

    TextTable table;
    for (const EcuTextField& field : EcuTextFields) {
        // Other program versions are never asked for the user, the date and the VIN.
        const bool userOrVin =
            field.FilledBy == EcuTextRequest::UserAndDate || field.FilledBy == EcuTextRequest::Vin;
        if (userOrVin && !ReadsUserAndVin(ecu.ProgramVersionMajor)) continue;
        table.Add({labels[field.Label], Printable(ecu.*field.Text)});
    }
    table.Print();
    return 0;
}

}  // namespace

void AddInfoCommand(CLI::App& app, int& status) {
    auto* command =
        app.add_subcommand("info", "Show the ECU's identification and engine-hour counters");
    auto options = std::make_shared<InfoOptions>();
    command->add_option("--port", options->Port, "Port name or device (default: find the ECU)");
    AddLanguageOption(*command, options->Language);
    AddRecordOption(*command, options->Record);
    command->callback([options, &status] { status = ShowEcuInformation(*options); });
}
