#include "formula/EvaluateFormula.h"

namespace {

// Constant-initialised, so it exists before any other static object can
// evaluate a formula, and all its variables start at 0.0.
constinit calc_var evaluator;

}  // namespace

calc_var& Evaluator() {
    return evaluator;
}

double EvaluateFormula(std::string_view formula, double x) {
    return EvaluateFormulaExplained(formula, x).Value;
}

EvaluationResult EvaluateFormulaExplained(std::string_view formula, double x) {
    try {
        evaluator.set_variable('X', x);
        evaluator.set_expression(formula);
        return {evaluator.evaluate(), EvaluationError::None, ""};
    } catch (const calc::SyntaxError& error) {
        return {0.0, EvaluationError::Syntax, error.message};
    } catch (const calc::MathError& error) {
        return {0.0, EvaluationError::Math, error.message};
    } catch (const calc::divzero&) {
        return {0.0, EvaluationError::DivZero, ""};
    } catch (...) {
        return {0.0, EvaluationError::Other, ""};
    }
}
