#include "report/EcuReport.h"

#include <algorithm>

namespace {

const std::string& Label(const EcuReport& report, Lang::Entry entry) {
    return LangText[static_cast<std::size_t>(report.LanguageIndex == 1)][entry];
}

}  // namespace

bool EcuReport::IdentificationAnswered() const {
    return std::all_of(Fields.begin(), Fields.end(), [](const ReportField& field) {
        return field.Answer == ReportAnswer::Answered ||
               field.Answer == ReportAnswer::NotForThisVersion;
    });
}

std::string ReportSetHeading(const EcuReport& report) {
    return Label(report, Lang::ReportValues) + " " + std::to_string(report.Set + 1);
}

std::string ReportCompleteness(const EcuReport& report) {
    if (report.Complete()) return Label(report, Lang::ReportComplete);
    std::string missing;
    const auto add = [&missing](const std::string& part) {
        missing += (missing.empty() ? " " : ", ") + part;
    };
    if (!report.IdentificationAnswered()) add(Label(report, Lang::ReportIdentification));
    if (!report.ErrorsAnswered()) add(Label(report, Lang::ReportErrors));
    if (!report.ValuesAnswered()) add(ReportSetHeading(report));
    return Label(report, Lang::ReportIncomplete) + missing + ".";
}
