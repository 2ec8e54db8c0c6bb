// vmxdiag-cli eval: the values of one display formula for raw values, as the
// parameter pages would show them before rounding.

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/Command.h"
#include "database/ValueText.h"
#include "formula/ErrorInWords.h"
#include "formula/EvaluateFormula.h"

namespace {

struct EvalOptions {
    std::string Formula;
    std::vector<double> RawValues;
    bool Explain = false;
};

// One line per raw value, on the one evaluator of the run, so that
// assignments carry over from one value to the next as between live blocks.
// A value the formula failed on makes the run fail: the window would show 0.
int RunEval(const EvalOptions& options) {
    std::vector<double> raw = options.RawValues;
    if (raw.empty()) raw.push_back(0.0);
    int status = 0;
    for (double x : raw) {
        const EvaluationResult result = EvaluateFormulaExplained(options.Formula, x);
        const std::string note = options.Explain && result.Error != EvaluationError::None
                                     ? " (error: " + ErrorInWords(result) + "; the window shows 0)"
                                     : "";
        std::printf("X=%s -> %s%s\n", NumberText(x).c_str(), NumberText(result.Value).c_str(),
                    note.c_str());
        if (result.Error != EvaluationError::None) status = 1;
    }
    return status;
}

}  // namespace

void AddEvalCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<EvalOptions>();
    CLI::App* command = app.add_subcommand(
        "eval", "Print the value of a parameter formula for each raw value X (0 if none)");
    command->add_option("FORMULA", options->Formula, "the formula, as in database.ini")->required();
    command->add_option("X", options->RawValues, "raw values, in order");
    command->add_flag("--explain", options->Explain,
                      "say in words why a formula fails (its value is then 0)");
    command->footer("A formula that starts with \"-\" goes after \"--\": eval -- -X^2 3");
    command->callback([options, &status] { status = RunEval(*options); });
}
