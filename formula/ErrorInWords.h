#pragma once
// The evaluator's errors in plain words, for whoever writes a formula: its own
// texts ("Incorrect operator", calc::divzero) name its insides, not the
// formula's fault.

#include <string>

#include "formula/EvaluateFormula.h"

// "division by zero", "a ')' is missing", ...; empty when there was no error.
std::string ErrorInWords(const EvaluationResult& result);
