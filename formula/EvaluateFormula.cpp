#include "formula/EvaluateFormula.h"

namespace {

// Constant-initialised, so it exists before any other static object can
// evaluate a formula, and all its variables start at 0.0.
constinit calc_var evaluator;

EvaluationResult Explain(calc_var& on, std::string_view formula, double x) {
    try {
        on.set_variable('X', x);
        on.set_expression(formula);
        const double value = on.evaluate();
        return {value, EvaluationError::None, "", on.read_length()};
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

}  // namespace

calc_var& Evaluator() {
    return evaluator;
}

double EvaluateFormula(std::string_view formula, double x) {
    return EvaluateFormulaExplained(formula, x).Value;
}

EvaluationResult EvaluateFormulaExplained(std::string_view formula, double x) {
    return Explain(evaluator, formula, x);
}

EvaluationResult EvaluateFormulaAlone(std::string_view formula, double x) {
    calc_var alone;
    return Explain(alone, formula, x);
}
