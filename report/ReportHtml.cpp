#include "report/ReportHtml.h"

#include <array>
#include <cstddef>
#include <string_view>

#include "database/ValueText.h"
#include "report/ReportText.h"

namespace {

// Printing on A4 keeps the screen's look, a little smaller; a warning keeps
// its colour on paper, as it is the point of the mark.
constexpr std::string_view Style = R"(
:root { color-scheme: light; }
body { font-family: "Liberation Sans", Arial, Helvetica, sans-serif; font-size: 11pt;
  line-height: 1.35; color: #111; background: #fff; max-width: 52em; margin: 2em auto;
  padding: 0 1.5em; }
h1 { font-size: 1.6em; margin: 0 0 .5em; }
h2 { font-size: 1.15em; margin: 1.5em 0 .4em; padding-bottom: .15em; border-bottom: 2px solid #333; }
table { border-collapse: collapse; width: 100%; }
th, td { text-align: left; vertical-align: top; padding: .25em .5em; border-bottom: 1px solid #ccc; }
table.fields th { width: 45%; font-weight: normal; color: #444; }
table.about { width: auto; }
table.about th { font-weight: normal; color: #444; padding-left: 0; }
table.about th, table.about td { border: none; padding-top: .1em; padding-bottom: .1em; }
thead th { background: #eee; border-bottom: 2px solid #333; }
.number { text-align: right; font-variant-numeric: tabular-nums; white-space: nowrap; }
table.errors th:first-child { width: 3em; }
table.errors th:nth-child(2) { width: 7em; }
td.vin { font-family: "Liberation Mono", "Courier New", monospace; font-size: 1.1em;
  letter-spacing: .05em; }
.missing { color: #666; font-style: italic; }
.complete { color: #060; }
.incomplete { color: #a00; font-weight: bold; }
tr.warning td { background: #ffd9a0; }
.mark { font-size: .85em; color: #8a4500; }
@page { size: A4; margin: 15mm 15mm 18mm; }
@media print {
  body { font-size: 10pt; max-width: none; margin: 0; padding: 0; }
  h2 { break-after: avoid; }
  tr, table.fields { break-inside: avoid; }
  thead { display: table-header-group; }
  tr.warning td { print-color-adjust: exact; -webkit-print-color-adjust: exact; }
}
)";

// A UTF-8 text as element content or an attribute value.
std::string Escaped(std::string_view utf8) {
    std::string text;
    for (char c : ReportUtf8(utf8)) {
        switch (c) {
            case '&':
                text += "&amp;";
                break;
            case '<':
                text += "&lt;";
                break;
            case '>':
                text += "&gt;";
                break;
            case '"':
                text += "&quot;";
                break;
            case '\'':
                text += "&#39;";
                break;
            default:
                text += c;
        }
    }
    return text;
}

// A text of the ECU or of database.ini (cp1251).
std::string Cp1251Escaped(const std::string& cp1251) {
    return Escaped(ReportText(cp1251));
}

class Page {
public:
    explicit Page(const EcuReport& report) : report_(report) {}

    std::string Write() {
        Head();
        out_ += "<body>\n";
        About();
        Fields(Lang::ReportIdentification, 0, LabeledEditCount);
        Fields(Lang::ReportCounters, LabeledEditCount, report_.Fields.size());
        Errors();
        Values();
        out_ += "</body>\n</html>\n";
        return std::move(out_);
    }

private:
    std::string Label(Lang::Entry entry) const {
        return Escaped(LangText[static_cast<std::size_t>(report_.LanguageIndex == 1)][entry]);
    }
    // A label that stands alone: capitalised, with a full stop.
    std::string Sentence(Lang::Entry entry) const {
        std::string text = Label(entry);
        if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
            text[0] = static_cast<char>(text[0] - 'a' + 'A');
        return text + ".";
    }
    // What stands in the place of what the ECU did not give.
    std::string AnswerText(ReportAnswer answer) const {
        static constexpr std::array<Lang::Entry, 3> missing{
            Lang::ReportUnanswered, Lang::ReportNotSent, Lang::ReportNotForThisVersion};
        if (answer == ReportAnswer::Answered) return {};
        return Label(missing[static_cast<std::size_t>(answer) - 1]);
    }
    std::string SetHeading() const { return Escaped(ReportSetHeading(report_)); }
    std::string Number(double value) const {
        std::string text = NumberText(value);
        if (const std::size_t point = text.find('.'); point != std::string::npos)
            text.replace(point, 1, report_.DecimalSeparator);
        return Escaped(text);
    }

    void Head() {
        const ReportField& vin = report_.Fields[0];
        std::string title = Label(Lang::ReportTitle);
        if (!vin.Text.empty()) title += " " + Cp1251Escaped(vin.Text);
        title += " " + Escaped(ReportTimeText(report_.Time));
        out_ += "<!DOCTYPE html>\n<html lang=\"";
        out_ += report_.LanguageIndex == 1 ? "en" : "ru";
        out_ += "\">\n<head>\n<meta charset=\"utf-8\">\n";
        out_ += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
        out_ += "<title>" + title + "</title>\n<style>";
        out_ += Style;
        out_ += "</style>\n</head>\n";
    }

    void About() {
        out_ += "<header>\n<h1>" + Label(Lang::ReportTitle) + "</h1>\n<table class=\"about\">\n";
        Row(Label(Lang::ReportTool), Escaped(report_.ToolName + " " + report_.ToolVersion));
        Row(Label(Lang::ReportTime), Escaped(ReportTimeText(report_.Time)));
        std::string port = Escaped(report_.PortName);
        if (!report_.Device.empty() && report_.Device != report_.PortName)
            port += " (" + Escaped(report_.Device) + ")";
        Row(Label(Lang::ReportPort), port);
        out_ += "</table>\n";
        out_ += std::string("<p class=\"") + (report_.Complete() ? "complete" : "incomplete") +
                "\">" + Escaped(ReportCompleteness(report_)) + "</p>\n";
        out_ += "</header>\n";
    }

    void Row(const std::string& label, const std::string& cell, const char* cellClass = nullptr) {
        out_ += "<tr><th>" + label + "</th><td";
        if (cellClass) out_ += std::string(" class=\"") + cellClass + "\"";
        out_ += ">" + cell + "</td></tr>\n";
    }

    void Fields(Lang::Entry heading, std::size_t from, std::size_t to) {
        out_ += "<section>\n<h2>" + Label(heading) + "</h2>\n<table class=\"fields\">\n";
        for (std::size_t box = from; box < to; ++box) {
            const ReportField& field = report_.Fields[box];
            if (field.Answer != ReportAnswer::Answered)
                Row(Label(field.Label), AnswerText(field.Answer), "missing");
            else
                Row(Label(field.Label), Cp1251Escaped(field.Text), box == 0 ? "vin" : nullptr);
        }
        out_ += "</table>\n</section>\n";
    }

    void Errors() {
        out_ += "<section>\n<h2>" + Label(Lang::ReportErrors) + "</h2>\n";
        if (!report_.Errors) {
            out_ +=
                "<p class=\"missing\">" + Sentence(Lang::ReportUnanswered) + "</p>\n</section>\n";
            return;
        }
        const auto& errors = *report_.Errors;
        out_ +=
            "<p>" + Label(Lang::ReportErrorCount) + " " + std::to_string(errors.size()) + "</p>\n";
        if (errors.empty()) {
            out_ += "<p>" + Label(Lang::ReportNoErrors) + "</p>\n</section>\n";
            return;
        }
        out_ += "<table class=\"errors\">\n<thead><tr><th class=\"number\">" +
                Label(Lang::ReportNumberColumn) + "</th><th>" + Label(Lang::CodeColumn) +
                "</th><th>" + Label(Lang::NameColumn) + "</th></tr></thead>\n<tbody>\n";
        for (const ReportError& error : errors)
            out_ += "<tr><td class=\"number\">" + std::to_string(error.Number) + "</td><td>" +
                    Cp1251Escaped(error.Code) + "</td><td>" + Cp1251Escaped(error.Text) +
                    "</td></tr>\n";
        out_ += "</tbody>\n</table>\n</section>\n";
    }

    void Values() {
        out_ += "<section>\n<h2>" + SetHeading() + "</h2>\n";
        const SlotSelection& selection = report_.Selection;
        if (!selection.Complete()) {
            const ReportValue& refused =
                report_.Values[static_cast<std::size_t>(selection.Accepted)];
            out_ += "<p class=\"incomplete\">" + Label(Lang::ReportSelectionRefused) + " " +
                    std::to_string(selection.Accepted) + " (" + Cp1251Escaped(refused.Code) +
                    ").</p>\n";
        } else if (!report_.BlockAnswered) {
            out_ += "<p class=\"incomplete\">" + Sentence(Lang::ReportUnanswered) + "</p>\n";
        }
        out_ += "<table class=\"values\">\n<thead><tr><th>" + Label(Lang::CodeColumn) +
                "</th><th>" + Label(Lang::NameColumn) + "</th><th class=\"number\">" +
                Label(Lang::ValueColumn) + "</th><th>" + Label(Lang::UnitColumn) +
                "</th><th class=\"number\">" + Label(Lang::ReportRangeColumn) +
                "</th></tr></thead>\n<tbody>\n";
        for (const ReportValue& value : report_.Values) {
            out_ += value.OutOfRange ? "<tr class=\"warning\">" : "<tr>";
            out_ += "<td>" + Cp1251Escaped(value.Code) + "</td><td>" + Cp1251Escaped(value.Name) +
                    "</td>";
            if (value.Answer != ReportAnswer::Answered) {
                const Lang::Entry why = value.Answer == ReportAnswer::Unanswered
                                            ? Lang::ReportUnanswered
                                            : Lang::ReportNotSelected;
                out_ += "<td class=\"number missing\">" + Label(why) + "</td>";
            } else {
                out_ += "<td class=\"number\">" + Escaped(value.Text);
                if (value.OutOfRange)
                    out_ += " <span class=\"mark\">" + Label(Lang::ReportOutOfRange) + "</span>";
                out_ += "</td>";
            }
            out_ += "<td>" + Cp1251Escaped(value.Unit) + "</td><td class=\"number\">";
            if (value.Min && value.Max) out_ += Number(*value.Min) + " … " + Number(*value.Max);
            out_ += "</td></tr>\n";
        }
        out_ += "</tbody>\n</table>\n</section>\n";
    }

    const EcuReport& report_;
    std::string out_;
};

}  // namespace

std::string ReportHtml(const EcuReport& report) {
    return Page(report).Write();
}
