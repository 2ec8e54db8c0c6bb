#pragma once
// A report of one ECU, to hand to the vehicle's owner or keep with the job:
// who made it, when and over which port; the ECU's identification and hour
// counters; the errors it stores; the sixteen live values of one parameter
// set. Every part says whether the ECU answered for it, so that nothing is
// missing without a word. Texts of the ECU and of database.ini stay cp1251
// here, as the core keeps them; the writers (ReportHtml.h, ReportJson.h)
// make them UTF-8.
//
// ReportReading.h fills one from the line; the writers only read it.

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lang/Lang.h"
#include "presentation/EcuTextLabels.h"
#include "protocol/SlotSelection.h"

// How a request of the report went.
enum class ReportAnswer {
    Answered,
    Unanswered,         // sent, and no whole reply came
    NotSent,            // not sent, since the ECU did not answer a request it depends on
    NotForThisVersion,  // not sent: only program versions 40 to 49 give it
};

// One box of the ECU information page.
struct ReportField {
    Lang::Entry Label = Lang::VinLabel;
    EcuTextRequest FilledBy = EcuTextRequest::Vin;
    ReportAnswer Answer = ReportAnswer::NotSent;
    // As the ECU gave it (the VIN whole); empty unless answered, so that a
    // text of an earlier read, perhaps of another ECU, never stands here.
    std::string Text;
};

struct ReportError {
    int Number = 0;  // 0 to 127: the bit in the ECU's error memory
    std::string Code;
    std::string Text;  // the definition's name in the report's language
};

// One slot of the parameter set.
struct ReportValue {
    std::string Code, Name, Unit;  // the definition's, Name and Unit in the report's language
    // How the slot's value came: Answered, Unanswered (no live block), or
    // NotSent (the ECU did not take the slot, or a slot before it).
    ReportAnswer Answer = ReportAnswer::NotSent;
    double Value = 0.0;  // when answered
    // When answered: the value as the parameter page shows it, with the
    // decimals of the definition ("NAN", "INF" for values that are no number).
    std::string Text;
    bool OutOfRange = false;         // outside the definition's Min to Max (only where Min < Max)
    std::optional<double> Min, Max;  // the definition's range, when it gives one
};

struct EcuReport {
    // --- Who, when, where ---
    std::string ToolName;     // "vmxdiag-cli"
    std::string ToolVersion;  // "1.0"
    std::chrono::system_clock::time_point Time{};
    std::string PortName;   // "COM1"
    std::string Device;     // what the name stood for, "/dev/ttyUSB0"
    int LanguageIndex = 0;  // 0 Russian, 1 English: the labels and the definitions' texts
    std::string DecimalSeparator = ".";  // in the texts of values and ranges

    // --- Identification and counters, in the order of the page's boxes:
    // LabeledEdit1 (the VIN) to LabeledEdit8, then MaskEdit1 to MaskEdit6 ---
    std::array<ReportField, LabeledEditCount + MaskEditCount> Fields{};

    // --- Stored errors: nothing when the error memory was not read ---
    std::optional<std::vector<ReportError>> Errors;

    // --- The live values of one set ---
    int Set = 0;              // 0 or 1, shown as set 1 or 2
    SlotSelection Selection;  // how far the set's slots got in the ECU
    bool BlockAnswered = false;
    std::array<ReportValue, SlotCount> Values{};

    // The three parts, each answered whole or not.
    bool IdentificationAnswered() const;
    bool ErrorsAnswered() const { return Errors.has_value(); }
    bool ValuesAnswered() const { return Selection.Complete() && BlockAnswered; }
    // Every part answered: nothing in the report is missing.
    bool Complete() const {
        return IdentificationAnswered() && ErrorsAnswered() && ValuesAnswered();
    }
};

// The heading of the live values in the report's language (UTF-8): "Parameters, set 2".
std::string ReportSetHeading(const EcuReport& report);
// The line under the report's title, in its language (UTF-8): every request
// answered, or the parts that are missing by their headings.
std::string ReportCompleteness(const EcuReport& report);
