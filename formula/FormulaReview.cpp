#include "formula/FormulaReview.h"

#include <algorithm>
#include <span>

#include "formula/calc.h"

namespace {

// The first result without an error, if the formula gives one at all.
std::optional<EvaluationResult> FirstGood(std::string_view formula, std::span<const double> spread,
                                          std::optional<EvaluationResult>& firstFailure) {
    for (double x : spread) {
        const EvaluationResult result = EvaluateFormulaAlone(formula, x);
        if (result.Error == EvaluationError::None) return result;
        if (!firstFailure) firstFailure = result;
    }
    return std::nullopt;
}

// The one value for every raw value it does not fail on; nothing when it
// moves, or when fewer than two raw values give one (no sign of a constant).
std::optional<double> ConstantValue(std::string_view formula, std::span<const double> spread) {
    std::optional<double> value;
    std::size_t good = 0;
    for (double x : spread) {
        const EvaluationResult result = EvaluateFormulaAlone(formula, x);
        if (result.Error != EvaluationError::None) continue;
        if (value && !(result.Value == *value)) return std::nullopt;
        value = result.Value;
        ++good;
    }
    if (good < 2) return std::nullopt;
    return value;
}

}  // namespace

FormulaReview ReviewFormula(std::string_view formula, bool isSigned) {
    const std::span<const double> spread = isSigned ? std::span<const double>(SignedWordSpread)
                                                    : std::span<const double>(UnsignedWordSpread);
    constexpr std::size_t Readable = calc::MaxExpression;
    FormulaReview review;
    review.TooLong = formula.size() > Readable;
    std::optional<EvaluationResult> failure;
    const auto good = FirstGood(formula, spread, failure);
    if (!good) {
        review.AlwaysFails = failure;
        return review;
    }
    const std::string_view read = formula.substr(0, std::min(formula.size(), Readable));
    if (good->ReadLength < read.size())
        review.StopsAt = good->ReadLength;
    else if (read.find('X') != std::string_view::npos)
        review.Constant = ConstantValue(formula, spread);
    return review;
}
