#pragma once
// The formula evaluator of the parameter definitions: numbers, "pi", nine
// functions and the 26 variables A to Z, whose values persist from one
// evaluation to the next. X holds the raw value.

#include "formula/calc.h"

class calc_var : public calc {
public:
    constexpr calc_var() = default;

    // Evaluates the statements of the text given to set_expression and returns
    // the value of the last one. Throws calc::SyntaxError, calc::MathError or
    // calc::divzero. Reads on from where the last evaluation stopped, so each
    // call needs a set_expression before it.
    double evaluate();

    // The variable of letter "A" to "Z"; other letters read as 0.0 and
    // writing them does nothing.
    double variable(char letter) const;
    void set_variable(char letter, double value);

protected:
    void get_token() override;
    double primary() override;

private:
    double variables[26] = {};
    // Where the current token starts: a number longer than the token text
    // holds is converted from the expression text itself.
    const char* token_start = expression_text;
};
