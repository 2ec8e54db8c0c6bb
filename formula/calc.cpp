#include "formula/calc.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Up to this many factors a power is formed by successive multiplication, so
// that it rounds exactly as the product does; that covers every exponent a
// 16-bit raw word can give, at well under a millisecond. Beyond it the library's
// power stands in for the long product: it is the correctly rounded value that
// successive multiplication drifts around, takes constant time where
// 2^2147483647 would take two billion steps, and gives the product's limit for
// exponents beyond any integer (infinities included).
constexpr double SuccessiveFactors = 65536;

double Product(double base, double factors) {
    if (factors > SuccessiveFactors) return std::pow(base, factors);
    double product = 1.0;
    for (int i = 0; i < static_cast<int>(factors); ++i) product *= base;
    return product;
}

// A not-a-number base counts as zero in the first test and as negative in the
// second, so it never reaches the logarithm.
double Power(double base, double exponent) {
    if ((base == 0.0 || std::isnan(base)) && !(exponent > 0.0)) {
        throw calc::MathError{"Raising zero into power that is not greater than 0"};
    }
    if (exponent == std::trunc(exponent)) {
        // A negative exponent divides 1 by the product, as 1 / 2^1074 is 0
        // when the product overflows.
        const double product = Product(base, std::fabs(exponent));
        return exponent < 0.0 ? 1.0 / product : product;
    }
    if (base < 0.0 || std::isnan(base)) {
        throw calc::MathError{"Raising number, that is less than zero into not integer power"};
    }
    return std::exp(std::log(base) * exponent);
}

// The remainder of the operands truncated toward zero, signed like the
// dividend. fmod is exact, so for operands within 32 bits this is the integer
// remainder; wider operands keep their exact remainder instead of wrapping,
// and -2147483648 % -1 is simply 0. No conversion to an integer type takes
// place, so no operand can overflow one.
double Remainder(double dividend, double divisor) {
    const double b = std::trunc(divisor);
    if (b == 0.0 || std::isnan(b)) throw calc::divzero{};
    // Adding 0.0 turns the -0.0 of an exact negative multiple into 0, as the
    // integer remainder has it.
    return std::fmod(std::trunc(dividend), b) + 0.0;
}

}  // namespace

void calc::set_expression(std::string_view text) {
    const std::size_t length = std::min<std::size_t>(text.size(), MaxExpression);
    std::memcpy(expression_text, text.data(), length);
    expression_text[length] = '\0';
    position = expression_text;
}

double calc::expression() {
    double value = term();
    while (token_text[0] == '+' || token_text[0] == '-') {
        const char sign = token_text[0];
        const double right = term();
        value = sign == '+' ? value + right : value - right;
    }
    return value;
}

double calc::term() {
    double value = primary();
    for (;;) {
        switch (token_text[0]) {
            case '*':
                value *= primary();
                break;
            case '/': {
                const double divisor = primary();
                if (divisor == 0.0 || std::isnan(divisor)) throw divzero{};
                value /= divisor;
                break;
            }
            case '%': {
                const double divisor = primary();
                value = Remainder(value, divisor);
                break;
            }
            case '^': {
                const double exponent = primary();
                value = Power(value, exponent);
                break;
            }
            case '(':
                // Implicit multiplication: the "(" is read again as the start
                // of the next primary.
                if (position > expression_text) --position;
                value *= primary();
                break;
            default:
                return value;
        }
    }
}
