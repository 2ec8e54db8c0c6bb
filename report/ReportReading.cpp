#include "report/ReportReading.h"

#include <algorithm>

#include "database/ValueText.h"
#include "line/LivePolling.h"
#include "protocol/EcuInformation.h"
#include "session/ErrorReading.h"

namespace {

ReportAnswer AnswerOf(const EcuInformationRead& read, EcuTextRequest request,
                      int programVersionMajor) {
    if (const auto answered = read.Of(request))
        return *answered ? ReportAnswer::Answered : ReportAnswer::Unanswered;
    // Not sent: the user, the date and the VIN of other program versions, or
    // whatever came after a request that was not answered.
    const bool versioned = request == EcuTextRequest::UserAndDate || request == EcuTextRequest::Vin;
    return versioned && read.Succeeded() && !ReadsUserAndVin(programVersionMajor)
               ? ReportAnswer::NotForThisVersion
               : ReportAnswer::NotSent;
}

void ReadIdentification(EcuLine& line, EcuReport& report) {
    const EcuInformationRead read = ReadEcuInformationRequests(line.Ecu());
    const EcuProtocol& ecu = line.Ecu();
    for (std::size_t box = 0; box < report.Fields.size(); ++box) {
        const EcuTextLabel& label = EcuTextLabelOfBox(static_cast<int>(box));
        const EcuTextField& field = EcuTextFieldOf(label);
        ReportField& shown = report.Fields[box];
        shown.Label = label.Label;
        shown.FilledBy = field.FilledBy;
        shown.Answer = AnswerOf(read, field.FilledBy, ecu.ProgramVersionMajor);
        if (shown.Answer == ReportAnswer::Answered) shown.Text = ecu.*field.Text;
    }
}

void ReadErrors(EcuLine& line, const DefinitionDatabase& definitions, EcuReport& report) {
    const auto lines = ReadErrorList(line, definitions);
    if (!lines) return;
    report.Errors.emplace();
    for (const ErrorLine& error : *lines)
        report.Errors->push_back({error.Number, error.Code, error.Name});
}

void ReadValues(EcuLine& line, ParameterSets& sets, const std::string& separator,
                EcuReport& report) {
    bool linkOk = false;  // so that the set is selected first, as after a page change
    report.BlockAnswered = PollLiveData(line, sets, report.Set, linkOk);
    report.Selection = sets.Selection;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const ParameterDef& def = *sets.Slots[static_cast<std::size_t>(slot)];
        ReportValue& value = report.Values[static_cast<std::size_t>(slot)];
        value.Code = def.CodeEn;
        value.Name = *def.Name;
        value.Unit = *def.Unit;
        if (def.Min < def.Max) {
            value.Min = def.Min;
            value.Max = def.Max;
        }
        // A slot the selection did not reach holds an address of before: its
        // word belongs to another parameter.
        const auto shown = ShownValue(sets, slot);
        if (!shown) continue;
        if (!report.BlockAnswered) {
            value.Answer = ReportAnswer::Unanswered;
            continue;
        }
        value.Answer = ReportAnswer::Answered;
        value.Value = *shown;
        value.Text = ValueText(*shown, def.Digits, separator);
        value.OutOfRange = OutOfRange(def, *shown);
    }
}

}  // namespace

EcuReport ReadEcuReport(EcuLine& line, const DefinitionDatabase& definitions, ParameterSets& sets,
                        int set, const ReportMaker& maker) {
    EcuReport report;
    report.ToolName = maker.ToolName;
    report.ToolVersion = maker.ToolVersion;
    report.Time = maker.Time;
    report.PortName = line.PortName();
    report.Device = line.Device();
    report.LanguageIndex = definitions.LanguageIndex;
    report.DecimalSeparator = maker.DecimalSeparator;
    report.Set = std::clamp(set, 0, ParameterSets::SetCount - 1);
    ReadIdentification(line, report);
    ReadErrors(line, definitions, report);
    ReadValues(line, sets, maker.DecimalSeparator, report);
    return report;
}
