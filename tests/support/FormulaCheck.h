#pragma once
// Helpers for tests of the formula evaluator: one evaluation on an evaluator
// of the test's own, with the raw value in X.

#include <string_view>

#include "formula/calc_var.h"

inline double Evaluate(calc_var& evaluator, std::string_view formula, double x = 0.0) {
    evaluator.set_variable('X', x);
    evaluator.set_expression(formula);
    return evaluator.evaluate();
}

// Evaluates on a fresh evaluator, all variables but X at 0.0.
inline double Evaluate(std::string_view formula, double x = 0.0) {
    calc_var evaluator;
    return Evaluate(evaluator, formula, x);
}
