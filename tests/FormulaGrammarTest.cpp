// Values of formulas: precedence, tokens, statements, powers, remainders,
// functions and variables.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>
#include <string>

#include "support/FormulaCheck.h"

namespace {

constexpr double RawValues[] = {0.0, 1.0, 3.0, -5.0, 1023.0, 65535.0, -32768.0};

}  // namespace

// --- Precedence and associativity ---

TEST(FormulaPrecedence, PowerSharesTheProductLevelAndGroupsLeft) {
    EXPECT_EQ(Evaluate("2*3^2"), 36.0);
    EXPECT_EQ(Evaluate("2^3^2"), 64.0);
    EXPECT_EQ(Evaluate("1+2*3"), 7.0);
    EXPECT_EQ(Evaluate("10-2-3"), 5.0);
    EXPECT_EQ(Evaluate("16/4/2"), 2.0);
    EXPECT_EQ(Evaluate("7%4*2"), 6.0);
    for (double x : RawValues) {
        EXPECT_DOUBLE_EQ(Evaluate("X*0.1-40", x), x * 0.1 - 40) << x;
        EXPECT_EQ(Evaluate("X", x), x);
    }
}

TEST(FormulaPrecedence, UnaryMinusBindsTighterThanPower) {
    for (double x : RawValues) {
        EXPECT_EQ(Evaluate("-X^2", x), x * x) << x;
        EXPECT_EQ(Evaluate("--X", x), x) << x;
        EXPECT_EQ(Evaluate("+-+X", x), -x) << x;
    }
}

TEST(FormulaPrecedence, FunctionAppliesToTheNextPrimaryOnly) {
    for (double x : RawValues) {
        EXPECT_DOUBLE_EQ(Evaluate("sin X^2", x), std::sin(x) * std::sin(x)) << x;
        EXPECT_DOUBLE_EQ(Evaluate("sin X*2", x), 2 * std::sin(x)) << x;
        EXPECT_EQ(Evaluate("abs-X", x), std::fabs(x)) << x;
        EXPECT_DOUBLE_EQ(Evaluate("sin(X*2)", x), std::sin(x * 2)) << x;
    }
}

TEST(FormulaPrecedence, ParenthesisAfterAPrimaryMultiplies) {
    for (double x : RawValues) {
        EXPECT_EQ(Evaluate("2(X+1)", x), 2 * x + 2) << x;
        EXPECT_EQ(Evaluate("(X+1)(X-1)", x), (x + 1) * (x - 1)) << x;
        EXPECT_EQ(Evaluate("X (2)(3)", x), 6 * x) << x;
    }
}

// --- Tokens and statement splitting ---

TEST(FormulaStatements, StrayTokenAfterACompleteExpressionStartsANewStatement) {
    EXPECT_EQ(Evaluate("2X", 7), 0.0);
    EXPECT_EQ(Evaluate("X)", 7), 0.0);
    EXPECT_EQ(Evaluate("X)+1", 7), 1.0);
    EXPECT_EQ(Evaluate("2 3"), 0.0);
    EXPECT_EQ(Evaluate("2 3+1"), 1.0);
    EXPECT_EQ(Evaluate("2pi"), 0.0);
}

TEST(FormulaStatements, LastStatementGivesTheValue) {
    EXPECT_EQ(Evaluate("1;2;X", 9), 9.0);
    EXPECT_EQ(Evaluate("X;", 9), 0.0);
    EXPECT_EQ(Evaluate(";;;"), 0.0);
}

TEST(FormulaTokens, UnrecognisedCharacterEndsTheFormula) {
    EXPECT_EQ(Evaluate(".5"), 0.0);
    EXPECT_EQ(Evaluate("X*1,5", 4), 4.0);
    EXPECT_EQ(Evaluate("X*2\t+1", 4), 8.0);
    EXPECT_EQ(Evaluate("X*2=1", 4), 8.0);
    // Text arrives as cp1251 bytes: a letter above 0x7F is no letter here.
    EXPECT_EQ(Evaluate("X*2\xF1+1", 4), 8.0);
    EXPECT_EQ(Evaluate("X*2\x80", 4), 8.0);
    EXPECT_EQ(Evaluate(std::string("X*2\0+1", 6), 4), 8.0);
}

TEST(FormulaTokens, BlanksLineFeedsAndCarriageReturnsAreSkipped) {
    EXPECT_EQ(Evaluate("X*2 ", 4), 8.0);
    EXPECT_EQ(Evaluate("X*2\n\r\n", 4), 8.0);
    EXPECT_EQ(Evaluate(" \r\n X \n*\r 2", 4), 8.0);
    EXPECT_EQ(Evaluate("   "), 0.0);
}

TEST(FormulaTokens, NumbersTakeTheLongestValidPrefix) {
    EXPECT_EQ(Evaluate("1e3"), 1000.0);
    EXPECT_EQ(Evaluate("1.5E-1"), 0.15);
    EXPECT_EQ(Evaluate("1.2.3"), 1.2);
    EXPECT_EQ(Evaluate("2e"), 2.0);
    EXPECT_EQ(Evaluate("2e+"), 2.0);
    EXPECT_EQ(Evaluate("3.e1"), 30.0);
    EXPECT_EQ(Evaluate("1e400"), HUGE_VAL);
    EXPECT_EQ(Evaluate("1e-400"), 0.0);
    EXPECT_EQ(Evaluate("0.00000000000000000000000001e-300"), 0.0);
}

TEST(FormulaTokens, RunsLongerThanATokenAreReadWhole) {
    EXPECT_EQ(Evaluate("12345678901234567890"), 12345678901234567890.0);
    EXPECT_EQ(Evaluate("0.000000000000000000123"), 1.23e-19);
    EXPECT_EQ(Evaluate("XABCDEFGHIJKLMNOPQRSTUVW", 5), 5.0);
    EXPECT_THROW(Evaluate("sinsinsinsinsinsin 1"), calc::SyntaxError);
}

// --- Powers ---

TEST(FormulaPower, IntegralAndFractionalExponents) {
    EXPECT_EQ(Evaluate("2^-1"), 0.5);
    EXPECT_DOUBLE_EQ(Evaluate("2^0.5"), std::sqrt(2.0));
    EXPECT_EQ(Evaluate("(-2)^3"), -8.0);
    EXPECT_EQ(Evaluate("0^2"), 0.0);
    EXPECT_EQ(Evaluate("0^0.5"), 0.0);
    for (double x : RawValues) {
        if (x != 0.0) {
            EXPECT_EQ(Evaluate("X^0", x), 1.0) << x;
        }
    }
}

TEST(FormulaPower, SmallIntegralExponentRoundsAsSuccessiveMultiplication) {
    double product = 1.0;
    for (int i = 0; i < 13; ++i) product *= 1.1;
    EXPECT_EQ(Evaluate("1.1^13"), product);
    EXPECT_EQ(Evaluate("1.1^-13"), 1.0 / product);
}

TEST(FormulaPower, ExponentsOfHugeMagnitudeFinishAtOnce) {
    EXPECT_EQ(Evaluate("2^2147483648"), HUGE_VAL);
    EXPECT_EQ(Evaluate("2^2147483647"), HUGE_VAL);
    EXPECT_EQ(Evaluate("2^-2147483648"), 0.0);
    EXPECT_EQ(Evaluate("0.5^2147483647"), 0.0);
    EXPECT_EQ(Evaluate("(-1)^2147483647"), -1.0);
    EXPECT_EQ(Evaluate("(-1)^2147483648"), 1.0);
    EXPECT_EQ(Evaluate("(-1)^1e300"), 1.0);
    EXPECT_EQ(Evaluate("2^1e400"), HUGE_VAL);
    EXPECT_EQ(Evaluate("2^-1e400"), 0.0);
}

// Fixed fault: past 64 factors the library's power used to stand in, which
// rounds differently from the product for most exponents a raw word can give.
TEST(FormulaPower, IntegralPowersOfARawWordAreSuccessiveMultiplication) {
    const auto product = [](double base, int factors) {
        double result = 1.0;
        for (int i = 0; i < factors; ++i) result *= base;
        return result;
    };
    EXPECT_EQ(Evaluate("1.001^1000"), product(1.001, 1000));
    EXPECT_EQ(Evaluate("1.001^-1000"), 1.0 / product(1.001, 1000));
    EXPECT_EQ(Evaluate("1.1^100"), product(1.1, 100));
    EXPECT_EQ(Evaluate("1.0001^65535"), product(1.0001, 65535));
    EXPECT_EQ(Evaluate("(-3)^65"), product(-3.0, 65));
    // The product overflows before the division: 1 / inf.
    EXPECT_EQ(Evaluate("2^-1074"), 0.0);
}

// --- Remainders ---

TEST(FormulaRemainder, TruncatesBothOperandsAndTakesTheDividendsSign) {
    EXPECT_EQ(Evaluate("7%3"), 1.0);
    EXPECT_EQ(Evaluate("-7%3"), -1.0);
    EXPECT_EQ(Evaluate("7.9%3"), 1.0);
    EXPECT_EQ(Evaluate("7%-3.9"), 1.0);
    EXPECT_EQ(Evaluate("-7%-3"), -1.0);
    EXPECT_EQ(Evaluate("X%256", 4660), 52.0);
    EXPECT_FALSE(std::signbit(Evaluate("-6%3")));
}

TEST(FormulaRemainder, OperandsBeyondThirtyTwoBitsNeverFault) {
    EXPECT_EQ(Evaluate("5000000000%7"), 2.0);
    EXPECT_EQ(Evaluate("-5000000000%7"), -2.0);
    EXPECT_EQ(Evaluate("7%5000000000"), 7.0);
    const double min = Evaluate("-2147483648%-1");
    EXPECT_EQ(min, 0.0);
    EXPECT_FALSE(std::signbit(min));
    EXPECT_EQ(Evaluate("2147483648%2147483647"), 1.0);
    EXPECT_TRUE(std::isnan(Evaluate("1e400%7")));
    EXPECT_EQ(Evaluate("7%1e400"), 7.0);
}

// --- Functions and constants ---

TEST(FormulaFunctions, NineFunctionsAndPi) {
    EXPECT_EQ(Evaluate("pi"), 3.1415926535);
    EXPECT_NE(Evaluate("pi"), std::numbers::pi);
    EXPECT_EQ(Evaluate("exp 1"), std::exp(1.0));
    for (double x : {0.0, 0.5, -0.25, 1.0}) {
        EXPECT_EQ(Evaluate("abs X", x), std::fabs(x));
        EXPECT_EQ(Evaluate("cos X", x), std::cos(x));
        EXPECT_EQ(Evaluate("tg X", x), std::sin(x) / std::cos(x));
        EXPECT_EQ(Evaluate("asin X", x), std::asin(x));
        EXPECT_EQ(Evaluate("acos X", x), std::acos(x));
        if (x > 0) {
            EXPECT_EQ(Evaluate("ln X", x), std::log(x));
        }
        if (x != 0) {
            EXPECT_EQ(Evaluate("ctg X", x), std::cos(x) / std::sin(x));
        }
    }
}

TEST(FormulaFunctions, NamesAreComparedExactly) {
    EXPECT_THROW(Evaluate("sinx"), calc::SyntaxError);
    EXPECT_THROW(Evaluate("lg X", 2), calc::SyntaxError);
    EXPECT_THROW(Evaluate("e"), calc::SyntaxError);
    // The variable S, then the stray name "in" ends that statement; X is the last.
    EXPECT_EQ(Evaluate("Sin X", 4), 4.0);
    calc_var evaluator;
    evaluator.set_variable('E', 2.5);
    EXPECT_EQ(Evaluate(evaluator, "E"), 2.5);
}

// --- Variables and assignment ---

TEST(FormulaVariables, AssignmentTakesTheRestOfItsStatementAndPersists) {
    calc_var evaluator;
    EXPECT_EQ(Evaluate(evaluator, "A=X*2;A+1", 5), 11.0);
    EXPECT_EQ(evaluator.variable('A'), 10.0);
    EXPECT_EQ(Evaluate(evaluator, "A", 0), 10.0);
    EXPECT_EQ(Evaluate(evaluator, "B=C=X+1", 2), 3.0);
    EXPECT_EQ(evaluator.variable('B'), 3.0);
    EXPECT_EQ(evaluator.variable('C'), 3.0);
    EXPECT_EQ(Evaluate(evaluator, "N=N+1;N=N+1;N", 0), 2.0);
}

TEST(FormulaVariables, EqualsSignMustFollowTheVariableAtOnce) {
    calc_var evaluator;
    evaluator.set_variable('A', 7);
    EXPECT_EQ(Evaluate(evaluator, "A =5"), 7.0);
    EXPECT_EQ(evaluator.variable('A'), 7.0);
    EXPECT_EQ(Evaluate(evaluator, "AB=5"), 5.0);
    EXPECT_EQ(evaluator.variable('A'), 5.0);
    EXPECT_EQ(evaluator.variable('B'), 0.0);
}

TEST(FormulaVariables, AssignmentsBeforeAnErrorStay) {
    calc_var evaluator;
    EXPECT_THROW(Evaluate(evaluator, "B=5;X/0", 1), calc::divzero);
    EXPECT_EQ(evaluator.variable('B'), 5.0);
    // The assignment eats the ")" and then misses it, but is already made.
    EXPECT_THROW(Evaluate(evaluator, "(D=4)"), calc::SyntaxError);
    EXPECT_EQ(evaluator.variable('D'), 4.0);
}

TEST(FormulaVariables, LettersOutsideAToZAreNoVariables) {
    calc_var evaluator;
    evaluator.set_variable('a', 1);
    evaluator.set_variable('[', 1);
    evaluator.set_variable('\xC0', 1);
    for (char letter = 'A'; letter <= 'Z'; ++letter) EXPECT_EQ(evaluator.variable(letter), 0.0);
    EXPECT_EQ(evaluator.variable('@'), 0.0);
}

// --- Limits ---

TEST(FormulaLimits, OnlyTheFirst255CharactersCount) {
    std::string formula = "X";
    while (formula.size() < 255) formula += "+1";
    ASSERT_EQ(formula.size(), 255u);
    EXPECT_EQ(Evaluate(formula + "000", 3), 3.0 + 127);
    EXPECT_EQ(Evaluate(std::string(300, ' ') + "X", 3), 0.0);
}

TEST(FormulaLimits, DeepestNestingThatFitsWorks) {
    const std::string nested = std::string(127, '(') + "X" + std::string(127, ')');
    EXPECT_EQ(Evaluate(nested, 6), 6.0);
    EXPECT_EQ(Evaluate(std::string(254, '-') + "X", 6), 6.0);
    // The 256th character, the X, is cut off: the signs apply to nothing.
    EXPECT_EQ(Evaluate(std::string(255, '-') + "X", 6), 0.0);
    std::string chain;
    while (chain.size() < 253) chain += "A=";
    calc_var evaluator;
    EXPECT_EQ(Evaluate(evaluator, chain + "X", 8), 8.0);
    EXPECT_EQ(evaluator.variable('A'), 8.0);
    std::string functions;
    while (functions.size() < 250) functions += "abs ";
    EXPECT_EQ(Evaluate(functions + "-X", 6), 6.0);
}
