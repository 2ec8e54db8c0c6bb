// Errors of the evaluator, their texts, and the shared evaluator behind
// EvaluateFormula that turns every one of them into 0.0.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "formula/EvaluateFormula.h"
#include "support/FormulaCheck.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

struct ErrorCase {
    const char* formula;
    double x;
    EvaluationError error;
    const char* text;
};

const ErrorCase ErrorCases[] = {
    {"", 1, EvaluationError::Syntax, "No Expression"},
    {"(X+1", 1, EvaluationError::Syntax, ") expected"},
    {"(X;1)", 1, EvaluationError::Syntax, ") expected"},
    {"(A=X)", 1, EvaluationError::Syntax, ") expected"},
    {"*X", 1, EvaluationError::Syntax, "Incorrect operator"},
    {"X+)", 1, EvaluationError::Syntax, "Incorrect operator"},
    {"2^^2", 1, EvaluationError::Syntax, "Incorrect operator"},
    {"sinx", 1, EvaluationError::Syntax, "Incorrect function"},
    {"lg X", 1, EvaluationError::Syntax, "Incorrect function"},
    {"e", 1, EvaluationError::Syntax, "Incorrect function"},
    {"0^0", 1, EvaluationError::Math, "Raising zero into power that is not greater than 0"},
    {"0^-1", 1, EvaluationError::Math, "Raising zero into power that is not greater than 0"},
    {"X^0", NaN, EvaluationError::Math, "Raising zero into power that is not greater than 0"},
    {"(-8)^(1/3)", 1, EvaluationError::Math,
     "Raising number, that is less than zero into not integer power"},
    {"X^0.5", NaN, EvaluationError::Math,
     "Raising number, that is less than zero into not integer power"},
    {"-2^X", NaN, EvaluationError::Math,
     "Raising number, that is less than zero into not integer power"},
    {"tg X", NaN, EvaluationError::Math, "can't calculate tg"},
    {"tg X", HUGE_VAL, EvaluationError::Math, "can't calculate tg"},
    {"ctg 0", 1, EvaluationError::Math, "can't calculate \xF1tg"},
    {"ctg X", NaN, EvaluationError::Math, "can't calculate \xF1tg"},
    {"ln 0", 1, EvaluationError::Math, "argument of lg is <= zero"},
    {"ln-X", 1, EvaluationError::Math, "argument of lg is <= zero"},
    {"ln X", NaN, EvaluationError::Math, "argument of lg is <= zero"},
    {"asin 2", 1, EvaluationError::Math, "argument of asin is out of ranges"},
    {"asin X", NaN, EvaluationError::Math, "argument of asin is out of ranges"},
    {"acos-1.5", 1, EvaluationError::Math, "argument of acos is out of ranges"},
    {"acos X", NaN, EvaluationError::Math, "argument of acos is out of ranges"},
    {"X/0", 1, EvaluationError::DivZero, ""},
    {"1/X", NaN, EvaluationError::DivZero, ""},
    {"7%0.5", 1, EvaluationError::DivZero, ""},
    {"X%0.0000001", 1, EvaluationError::DivZero, ""},
    {"7%X", NaN, EvaluationError::DivZero, ""},
    {"7%-0.9", 1, EvaluationError::DivZero, ""},
};

// Throws what a fresh evaluator throws for the case and reports its kind and text.
EvaluationResult Raise(const ErrorCase& c) {
    try {
        Evaluate(c.formula, c.x);
    } catch (const calc::SyntaxError& e) {
        return {0.0, EvaluationError::Syntax, e.message};
    } catch (const calc::MathError& e) {
        return {0.0, EvaluationError::Math, e.message};
    } catch (const calc::divzero&) {
        return {0.0, EvaluationError::DivZero, ""};
    }
    return {};
}

}  // namespace

// --- Errors and their texts ---

// Each is also a std::exception whose what() is its text, for callers that
// catch every failure alike.
TEST(FormulaErrors, EachErrorHasItsTypeAndExactText) {
    for (const ErrorCase& c : ErrorCases) {
        const EvaluationResult raised = Raise(c);
        EXPECT_EQ(raised.Error, c.error) << c.formula;
        EXPECT_STREQ(raised.Text, c.text) << c.formula;
        try {
            Evaluate(c.formula, c.x);
        } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), c.error == EvaluationError::DivZero ? "divzero" : c.text)
                << c.formula;
        }
    }
}

TEST(FormulaErrors, EvaluateFormulaTurnsEveryErrorIntoZero) {
    for (const ErrorCase& c : ErrorCases) {
        EXPECT_EQ(EvaluateFormula(c.formula, c.x), 0.0) << c.formula;
        const EvaluationResult explained = EvaluateFormulaExplained(c.formula, c.x);
        EXPECT_EQ(explained.Value, 0.0) << c.formula;
        EXPECT_EQ(explained.Error, c.error) << c.formula;
        EXPECT_STREQ(explained.Text, c.text) << c.formula;
    }
}

TEST(FormulaErrors, NotANumberIsNoErrorWhereNoCheckLooksAtIt) {
    EXPECT_TRUE(std::isnan(Evaluate("X*2+sin X", NaN)));
    EXPECT_TRUE(std::isnan(Evaluate("2^X", NaN)));
    EXPECT_TRUE(std::isnan(Evaluate("X^2", NaN)));
    EXPECT_TRUE(std::isnan(Evaluate("X%7", NaN)));
}

// --- The shared evaluator ---

TEST(FormulaShared, EvaluateFormulaGivesTheValueAndOnlyWritesX) {
    Evaluator().set_variable('Q', 0);
    EXPECT_EQ(EvaluateFormula("X", 4660), 4660.0);
    EXPECT_EQ(EvaluateFormula("X*0.1-40", 1000), 60.0);
    EXPECT_EQ(EvaluateFormula("Q=X*3", 2), 6.0);
    EXPECT_EQ(EvaluateFormula("Q+X", 1), 7.0);
    EXPECT_EQ(Evaluator().variable('X'), 1.0);
    EXPECT_EQ(Evaluator().variable('Q'), 6.0);
    const EvaluationResult fine = EvaluateFormulaExplained("Q/X", 2);
    EXPECT_EQ(fine.Value, 3.0);
    EXPECT_EQ(fine.Error, EvaluationError::None);
    Evaluator().set_variable('Q', 0);
}

TEST(FormulaShared, VariablesSurviveAFailedFormula) {
    Evaluator().set_variable('R', 0);
    EXPECT_EQ(EvaluateFormula("R=X;ln 0", 5), 0.0);
    EXPECT_EQ(EvaluateFormula("R+1", 0), 6.0);
    Evaluator().set_variable('R', 0);
}

TEST(FormulaShared, FailedFormulaLeavesTheNextOneIntact) {
    // A failure stops mid-text, with a token half read; the next formula
    // must start clean.
    EXPECT_EQ(EvaluateFormula("(1+(2*", 0), 0.0);
    EXPECT_EQ(EvaluateFormula("X+1", 1), 2.0);
    EXPECT_EQ(EvaluateFormula("X/(X-1)", 1), 0.0);
    EXPECT_EQ(EvaluateFormula("X/(X-1)", 3), 1.5);
}
