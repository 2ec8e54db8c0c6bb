// vmxdiag-cli info: the ECU's identification and engine-hour counters, read and
// labelled as the ECU information page of the window does.

#include <array>
#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/CliSession.h"
#include "cli/Command.h"
#include "cli/TextTable.h"
#include "lang/Lang.h"
#include "presentation/EcuTextLabels.h"
#include "protocol/EcuInformation.h"

namespace {

// The requests, by EcuTextRequest, as a sentence names them.
constexpr std::array<const char*, 5> RequestNames{"probe", "hour-counter", "identification",
                                                  "user and date", "VIN"};

int ShowEcuInformation(const SessionChoice& options) {
    // The file is read for its language only: the labels are the window's.
    CliMessages sink;
    const auto session = ConnectSession(sink, options, DefinitionNeed::Texts);
    if (!session) return 1;
    const auto& labels = LangText[session->Definitions.LanguageIndex];
    EcuLine& line = session->Line;
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
            table.Add({labels[EcuTextLabelOf(field)], Printable(ecu.*field.Text)});
    table.Print();
    std::fflush(stdout);
    int status = 0;
    for (std::size_t request = 0; request < read.Answered.size(); ++request) {
        if (read.Answered[request].value_or(true)) continue;
        std::fprintf(stderr, "The ECU did not answer the %s request; its fields are left out.\n",
                     RequestNames[request]);
        status = 1;
    }
    return status;
}

}  // namespace

void AddInfoCommand(CLI::App& app, int& status) {
    AddCommand(app, status, "info", "Show the ECU's identification and engine-hour counters",
               ShowEcuInformation, AddRecordingSessionOptions, Stops::BetweenExchanges);
}
