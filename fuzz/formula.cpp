// Fuzz target: arbitrary bytes as a formula, once with X = 0 and once with the
// first eight bytes as the bit pattern of X (NaN and infinities included).
// Whatever the text, evaluation must end, stay inside the object and fail
// only with the evaluator's own three errors.
//
// Useful start: -dict=fuzz/formula.dict and the seeds in fuzz/formula-seeds/.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "formula/EvaluateFormula.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (EvaluateFormulaExplained(text, 0.0).Error == EvaluationError::Other) __builtin_trap();

    if (size >= sizeof(double)) {
        double x;
        std::memcpy(&x, data, sizeof x);
        const std::string_view rest = text.substr(sizeof x);
        if (EvaluateFormulaExplained(rest, x).Error == EvaluationError::Other) __builtin_trap();
    }

    // A fresh evaluator, so that a fault is not hidden by the shared one's
    // variables; anything but the three errors escapes and is reported.
    calc_var evaluator;
    evaluator.set_expression(text);
    try {
        evaluator.evaluate();
    } catch (const calc::SyntaxError& error) {
        if (error.message == nullptr) __builtin_trap();
    } catch (const calc::MathError& error) {
        if (error.message == nullptr) __builtin_trap();
    } catch (const calc::divzero&) {
    }
    return 0;
}
