// vmxdiag-cli eval: the values of one display formula for raw values, as the
// parameter pages would show them before rounding.

#include <charconv>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "formula/EvaluateFormula.h"

namespace {

struct EvalOptions {
    std::string Formula;
    std::vector<double> RawValues;
    bool Explain = false;
};

// Shortest text that reads back as the same double.
std::string NumberText(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return {buffer, result.ptr};
}

// The error texts are cp1251; of its upper half only Cyrillic letters occur
// in them (the es of "сtg"). Anything else above 0x7F shows as "?".
std::string Utf8FromCp1251(const char* text) {
    std::string utf8;
    for (const char* p = text; *p != '\0'; ++p) {
        const auto byte = static_cast<unsigned char>(*p);
        if (byte < 0x80) {
            utf8 += static_cast<char>(byte);
        } else if (byte >= 0xC0) {
            // А..я are U+0410..U+044F in order.
            const unsigned code = 0x410 + (byte - 0xC0);
            utf8 += static_cast<char>(0xC0 | (code >> 6));
            utf8 += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            utf8 += '?';
        }
    }
    return utf8;
}

std::string Explanation(const EvaluationResult& result) {
    switch (result.Error) {
        case EvaluationError::None:
            return "";
        case EvaluationError::Syntax:
            return " (calc::SyntaxError: " + Utf8FromCp1251(result.Text) + ")";
        case EvaluationError::Math:
            return " (calc::MathError: " + Utf8FromCp1251(result.Text) + ")";
        case EvaluationError::DivZero:
            return " (calc::divzero)";
        case EvaluationError::Other:
            break;
    }
    return " (unknown error)";
}

// One line per raw value, on the one evaluator of the run, so that
// assignments carry over from one value to the next as between live blocks.
int RunEval(const EvalOptions& options) {
    std::vector<double> raw = options.RawValues;
    if (raw.empty()) raw.push_back(0.0);
    for (double x : raw) {
        const EvaluationResult result = EvaluateFormulaExplained(options.Formula, x);
        const std::string note = options.Explain ? Explanation(result) : "";
        std::printf("X=%s -> %s%s\n", NumberText(x).c_str(), NumberText(result.Value).c_str(),
                    note.c_str());
    }
    return 0;
}

}  // namespace

void AddEvalCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<EvalOptions>();
    CLI::App* command = app.add_subcommand(
        "eval", "Print the value of a parameter formula for each raw value X (0 if none)");
    command->add_option("FORMULA", options->Formula, "the formula, as in database.ini")->required();
    command->add_option("X", options->RawValues, "raw values, in order");
    command->add_flag("--explain", options->Explain,
                      "name the error of a formula that fails (its value is then 0)");
    command->footer("A formula that starts with \"-\" goes after \"--\": eval -- -X^2 3");
    command->callback([options, &status] { status = RunEval(*options); });
}
