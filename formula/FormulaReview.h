#pragma once
// What a formula makes of every raw value a word can hold, beyond one
// evaluation: whether it fails for all of them, is read only in part, or
// gives one value whatever X is. The definition checker warns of these, and
// `vmxdiag-cli eval --explain` says them; each try runs on an evaluator of its
// own (EvaluateFormulaAlone), so the shared one is not touched.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

#include "formula/EvaluateFormula.h"

// The raw values a formula is tried on: both ends of the word, zero and its
// neighbours, and a few in between.
inline constexpr std::array<double, 9> UnsignedWordSpread{0,    1,     2,     10,   100,
                                                          1000, 32767, 32768, 65535};
inline constexpr std::array<double, 13> SignedWordSpread{-32768, -1000, -100, -10, -2,   -1,   0,
                                                         1,      2,     10,   100, 1000, 32767};

struct FormulaReview {
    // Longer than the evaluator reads: only its first calc::MaxExpression
    // characters count.
    bool TooLong = false;
    // The first failure, when it fails for every raw value tried (its value
    // always shows as 0).
    std::optional<EvaluationResult> AlwaysFails;
    // Where the reading stops before the end of what is read: what follows
    // plays no part ("X*0,1" stops at the ',' and is X*0).
    std::optional<std::size_t> StopsAt;
    // The one value it gives for every raw value it does not fail on, though
    // it names X: X is not read as meant ("2X" is 2).
    std::optional<double> Constant;

    bool Flagged() const { return TooLong || AlwaysFails || StopsAt || Constant; }
};

// The formula as the raw words of a parameter, signed or not, meet it.
FormulaReview ReviewFormula(std::string_view formula, bool isSigned);
