#pragma once
// The program's one formula evaluator and its entry for the live values: a
// formula and a raw value in, a number out, never failing.

#include <cstddef>
#include <string_view>

#include "formula/calc_var.h"

// The evaluator shared by every formula of the run; its variables keep their
// values from one evaluation to the next.
calc_var& Evaluator();

// Stores x into X and evaluates formula (its first 255 characters) on the
// shared evaluator. Any error of the evaluation gives 0.0.
double EvaluateFormula(std::string_view formula, double x);

enum class EvaluationError { None, Syntax, Math, DivZero, Other };

struct EvaluationResult {
    double Value = 0.0;
    EvaluationError Error = EvaluationError::None;
    // The error's text in cp1251; empty for no error and for errors without one.
    const char* Text = "";
    // Without an error: how many characters of the formula (of its first 255)
    // were read before the reading stopped.
    std::size_t ReadLength = 0;
};

// EvaluateFormula that also tells which error, if any, made the value 0.0.
EvaluationResult EvaluateFormulaExplained(std::string_view formula, double x);

// The same on an evaluator of its own whose variables but X are 0.0, for
// trying a formula apart from the others; the shared evaluator is not touched.
EvaluationResult EvaluateFormulaAlone(std::string_view formula, double x);
