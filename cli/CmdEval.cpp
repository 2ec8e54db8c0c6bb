// vmxdiag-cli eval: the values of one display formula for raw values, as the
// parameter pages would show them before rounding.

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cli/Command.h"
#include "database/ValueText.h"
#include "formula/ErrorInWords.h"
#include "formula/EvaluateFormula.h"
#include "formula/FormulaReview.h"
#include "text/Utf8Sequence.h"

namespace {

struct EvalOptions {
    std::string Formula;
    std::vector<double> RawValues;
    bool Explain = false;
};

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A part of the formula as the command line gave it, in quotes, its control
// characters shown as '?' so that none reaches the terminal as a command.
std::string Quoted(std::string_view text) {
    std::string shown = "'";
    for (char c : text) shown += static_cast<unsigned char>(c) < 0x20 || c == 0x7F ? '?' : c;
    return shown + "'";
}

// The character the reading stopped at, whole (a UTF-8 letter is several bytes).
std::string CharacterAt(std::string_view formula, std::size_t at) {
    if (formula[at] == ' ') return "a space";
    if (formula[at] == '\t') return "a tab";
    return Quoted(formula.substr(at, Utf8SequenceLength(formula.substr(at))));
}

// What the definition checker would warn of in the formula, in words, one
// sentence each. The raw values tried are those of a signed word when one
// given is negative. A formula that failed for every X given has said why.
std::vector<std::string> FormulaNotes(std::string_view formula, bool isSigned, bool failedAll) {
    const FormulaReview review = ReviewFormula(formula, isSigned);
    std::vector<std::string> notes;
    if (review.TooLong)
        notes.push_back("The formula is " + std::to_string(formula.size()) +
                        " characters long: only its first " + std::to_string(calc::MaxExpression) +
                        " are read.");
    if (review.AlwaysFails && !failedAll)
        notes.push_back("The formula fails for every raw value that check tries (" +
                        ErrorInWords(*review.AlwaysFails) + "): the window always shows 0.");
    if (review.StopsAt) {
        const std::size_t at = *review.StopsAt;
        std::string note = "The reading stops at " + CharacterAt(formula, at) + " (character " +
                           std::to_string(at + 1) + "): only " + Quoted(formula.substr(0, at)) +
                           " is used, the rest plays no part.";
        // "0,1": a decimal comma, which the formula language does not have.
        if (formula[at] == ',' && at > 0 && IsDigit(formula[at - 1]) && at + 1 < formula.size() &&
            IsDigit(formula[at + 1])) {
            std::string pointed(formula);
            pointed[at] = '.';
            note += " A decimal comma? Numbers take a point: " + Quoted(pointed) + ".";
        }
        notes.push_back(note);
    }
    if (review.Constant) {
        std::string note = "The formula gives " + NumberText(*review.Constant) +
                           " whatever the raw value: X is not read as meant (a statement ends "
                           "early, as after '2X', 'X X', 'X)' or 'X*').";
        // "2X": a number before X is no product.
        for (std::size_t i = 0; i + 1 < formula.size(); ++i) {
            if (!IsDigit(formula[i]) || formula[i + 1] != 'X') continue;
            note += " A product is written with '*': " +
                    Quoted(std::string(formula.substr(0, i + 1)) + "*" +
                           std::string(formula.substr(i + 1))) +
                    ".";
            break;
        }
        notes.push_back(note);
    }
    return notes;
}

// One line per raw value, on the one evaluator of the run, so that
// assignments carry over from one value to the next as between live blocks.
// A value the formula failed on makes the run fail: the window would show 0.
int RunEval(const EvalOptions& options) {
    std::vector<double> raw = options.RawValues;
    if (raw.empty()) raw.push_back(0.0);
    int status = 0;
    std::size_t failed = 0;
    for (double x : raw) {
        const EvaluationResult result = EvaluateFormulaExplained(options.Formula, x);
        const std::string note = options.Explain && result.Error != EvaluationError::None
                                     ? " (error: " + ErrorInWords(result) + "; the window shows 0)"
                                     : "";
        std::printf("X=%s -> %s%s\n", NumberText(x).c_str(), NumberText(result.Value).c_str(),
                    note.c_str());
        if (result.Error != EvaluationError::None) {
            status = 1;
            ++failed;
        }
    }
    if (options.Explain) {
        const bool isSigned = std::any_of(raw.begin(), raw.end(), [](double x) { return x < 0; });
        for (const std::string& note :
             FormulaNotes(options.Formula, isSigned, failed == raw.size()))
            std::printf("%s\n", note.c_str());
    }
    return status;
}

void DeclareEval(CLI::App& command, EvalOptions& options) {
    command.add_option("FORMULA", options.Formula, "the formula, as in database.ini")->required();
    command.add_option("X", options.RawValues, "raw values, in order");
    command.add_flag("--explain", options.Explain,
                     "say in words why a formula fails (its value is then 0), and what "
                     "'check' would warn of in it: a reading that stops early (a decimal "
                     "comma), a value that X does not move ('2X')");
    command.footer("A formula that starts with \"-\" goes after \"--\": eval -- -X^2 3");
}

}  // namespace

void AddEvalCommand(CLI::App& app, int& status) {
    AddCommand(app, status, "eval",
               "Print the value of a parameter formula for each raw value X (0 if none)", RunEval,
               DeclareEval);
}
