#include "report/ReportJson.h"

#include <array>
#include <cmath>
#include <cstddef>

#include <nlohmann/json.hpp>

#include "report/ReportText.h"

namespace {

using Json = nlohmann::ordered_json;

// The keys of the page's boxes, LabeledEdit1 to MaskEdit6.
constexpr std::array<const char*, LabeledEditCount + MaskEditCount> FieldKeys{
    "vin",
    "program_version",
    "application_id",
    "manufacturer_code",
    "production_date",
    "last_programming_date",
    "user",
    "serial_number",
    "whole_working_time",
    "near_idle_time",
    "high_speed_small_load_time",
    "partial_load_time",
    "maximum_load_time",
    "rack_zero_position",
};

// By ReportAnswer.
constexpr std::array<const char*, 4> Statuses{"answered", "unanswered", "not_sent",
                                              "not_for_this_version"};

const char* StatusOf(ReportAnswer answer) {
    return Statuses[static_cast<std::size_t>(answer)];
}

Json Fields(const EcuReport& report, std::size_t from, std::size_t to) {
    Json fields = Json::object();
    for (std::size_t box = from; box < to; ++box) {
        const ReportField& field = report.Fields[box];
        const bool answered = field.Answer == ReportAnswer::Answered;
        fields[FieldKeys[box]] = {{"status", StatusOf(field.Answer)},
                                  {"text", answered ? Json(ReportText(field.Text)) : Json()}};
    }
    return fields;
}

Json Errors(const EcuReport& report) {
    Json errors = {{"status", report.Errors ? "answered" : "unanswered"},
                   {"count", nullptr},
                   {"list", nullptr}};
    if (!report.Errors) return errors;
    errors["count"] = report.Errors->size();
    errors["list"] = Json::array();
    for (const ReportError& error : *report.Errors)
        errors["list"].push_back({{"number", error.Number},
                                  {"code", ReportText(error.Code)},
                                  {"text", ReportText(error.Text)}});
    return errors;
}

// A number, or null for one that JSON cannot hold.
Json NumberOrNull(double value) {
    return std::isfinite(value) ? Json(value) : Json();
}

Json Values(const EcuReport& report) {
    const SlotSelection& selection = report.Selection;
    Json refused = nullptr;
    if (!selection.Complete()) {
        refused = {
            {"slot", selection.Accepted},
            {"code", ReportText(report.Values[static_cast<std::size_t>(selection.Accepted)].Code)},
            {"status", selection.Refusal},
            {"byte", selection.RefusalByte ? Json(*selection.RefusalByte) : Json()}};
    }
    Json list = Json::array();
    for (std::size_t slot = 0; slot < report.Values.size(); ++slot) {
        const ReportValue& value = report.Values[slot];
        const bool answered = value.Answer == ReportAnswer::Answered;
        list.push_back({{"slot", slot},
                        {"status", StatusOf(value.Answer)},
                        {"code", ReportText(value.Code)},
                        {"name", ReportText(value.Name)},
                        {"value", answered ? NumberOrNull(value.Value) : Json()},
                        {"text", answered ? Json(ReportUtf8(value.Text)) : Json()},
                        {"unit", ReportText(value.Unit)},
                        {"out_of_range", value.OutOfRange},
                        {"min", value.Min ? Json(*value.Min) : Json()},
                        {"max", value.Max ? Json(*value.Max) : Json()}});
    }
    return {{"set", report.Set + 1},
            {"status", report.ValuesAnswered() ? "answered" : "unanswered"},
            {"selection_refused", refused},
            {"block_answered", report.BlockAnswered},
            {"list", list}};
}

}  // namespace

std::string ReportJson(const EcuReport& report) {
    Json unanswered = Json::array();
    if (!report.IdentificationAnswered()) unanswered.push_back("identification");
    if (!report.ErrorsAnswered()) unanswered.push_back("errors");
    if (!report.ValuesAnswered()) unanswered.push_back("values");
    const Json document = {
        {"report", "vmxdiag ECU report"},
        {"format_version", 1},
        {"tool",
         {{"name", ReportUtf8(report.ToolName)}, {"version", ReportUtf8(report.ToolVersion)}}},
        {"time", ReportTimeStamp(report.Time)},
        {"port", {{"name", ReportUtf8(report.PortName)}, {"device", ReportUtf8(report.Device)}}},
        {"language", report.LanguageIndex == 1 ? "en" : "ru"},
        {"complete", report.Complete()},
        {"unanswered", unanswered},
        {"identification", Fields(report, 0, LabeledEditCount)},
        {"counters", Fields(report, LabeledEditCount, report.Fields.size())},
        {"errors", Errors(report)},
        {"values", Values(report)},
    };
    // Every text was made well-formed UTF-8 above; replacing what is not
    // keeps a writer that cannot fail.
    return document.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}
