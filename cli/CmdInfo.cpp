// vmxdiag-cli info: the ECU's identification and engine-hour counters, read and
// labelled as the ECU information page of the window does.

#include <cstdio>
#include <memory>
#include <string>

#include "cli/CliDefinitions.h"
#include "cli/Command.h"
#include "cli/EcuConnection.h"
#include "cli/TextTable.h"
#include "lang/Lang.h"
#include "protocol/EcuInformation.h"

namespace {

struct InfoOptions {
    std::string Port;
    std::string Language;
    std::string Record;
};

int ShowEcuInformation(const InfoOptions& options) {
    // The file is read for its language only: the labels are the window's.
    const auto definitions = LoadDefinitions(options.Language);
    if (!definitions) return 1;
    const auto& labels = LangText[definitions->LanguageIndex];
    EcuConnection line;
    if (!line.RecordInto(options.Record) || !line.Connect(options.Port)) return 1;
    const EcuProtocol& ecu = line.Ecu;
    if (!ReadEcuInformation(line.Ecu)) {
        std::fprintf(stderr, "The ECU did not answer the probe or the hour-counter request.\n");
        return 1;
    }

    TextTable table;
    auto show = [&](Lang::Entry label, const std::string& text) {
        table.Add({labels[label], Printable(text)});
    };
    show(Lang::ProgramVersionLabel, ecu.ProgramVersion);
    show(Lang::ApplicationIdLabel, ecu.ApplicationId);
    show(Lang::WholeWorkingTimeLabel, ecu.WholeWorkingTime);
    show(Lang::NearIdleTimeLabel, ecu.NearIdleTime);
    show(Lang::HighSpeedSmallLoadTimeLabel, ecu.HighSpeedSmallLoadTime);
    show(Lang::PartialLoadTimeLabel, ecu.PartialLoadTime);
    show(Lang::MaximumLoadTimeLabel, ecu.MaximumLoadTime);
    show(Lang::RackZeroPositionLabel, ecu.RackZeroPosition);
    show(Lang::ManufacturerCodeLabel, ecu.ManufacturerCode);
    show(Lang::ProductionDateLabel, ecu.ProductionDate);
    show(Lang::SerialNumberLabel, ecu.SerialNumber);
    // Other program versions are never asked for these.
    if (ReadsUserAndVin(ecu.ProgramVersionMajor)) {
        show(Lang::UserLabel, ecu.UserCode);
        show(Lang::LastProgrammingDateLabel, ecu.LastProgrammingDate);
        show(Lang::VinLabel, ecu.Vin);
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
