#include "formula/calc_var.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

namespace {

// Characters are classified as in the C locale: bytes 0x80 and above are
// neither letters nor digits, whatever the system's settings.
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLower(char c) {
    return c >= 'a' && c <= 'z';
}
bool IsUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

// The decimal exponent of a number text's leading digit, enough to tell a
// number too large for a double from one too small.
long Magnitude(const char* first, const char* last) {
    long magnitude = 0;
    bool point = false, significant = false;
    const char* p = first;
    for (; p != last && (IsDigit(*p) || (*p == '.' && !point)); ++p) {
        if (*p == '.') {
            point = true;
        } else if (*p != '0' || significant) {
            significant = true;
            if (!point) ++magnitude;
        } else if (point) {
            --magnitude;
        }
    }
    if (p != last && (*p == 'e' || *p == 'E')) {
        ++p;
        const bool negative = p != last && *p == '-';
        if (p != last && (*p == '+' || *p == '-')) ++p;
        long exponent = 0;
        for (; p != last && IsDigit(*p); ++p) {
            exponent = std::min(exponent * 10 + (*p - '0'), 100000L);
        }
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude;
}

// The C library's decimal conversion with "." as the point whatever the
// locale: the longest valid prefix counts, a number too large gives infinity
// and one too small gives 0.
double ConvertNumber(const char* first, const char* last) {
    double value = 0.0;
    const auto result = std::from_chars(first, last, value);
    if (result.ec == std::errc::result_out_of_range) {
        return Magnitude(first, result.ptr) > 0 ? HUGE_VAL : 0.0;
    }
    return value;
}

enum class Function { Abs, Sin, Cos, Tg, Ctg, Ln, Exp, Asin, Acos, None };

constexpr std::array<std::string_view, 9> FunctionNames{"abs", "sin", "cos",  "tg",  "ctg",
                                                        "ln",  "exp", "asin", "acos"};

Function FindFunction(const char* name) {
    const auto found = std::find(FunctionNames.begin(), FunctionNames.end(), name);
    return static_cast<Function>(found - FunctionNames.begin());
}

// Not-a-number fails every check: a cosine or sine that is not a number
// counts as 0.0, an argument that is not a number is out of range.
double Apply(Function function, double v) {
    switch (function) {
        case Function::Abs:
            return std::fabs(v);
        case Function::Sin:
            return std::sin(v);
        case Function::Cos:
            return std::cos(v);
        case Function::Tg: {
            const double cosine = std::cos(v);
            if (cosine == 0.0 || std::isnan(cosine)) {
                throw calc::MathError{"can't calculate tg"};
            }
            return std::sin(v) / cosine;
        }
        case Function::Ctg: {
            const double sine = std::sin(v);
            if (sine == 0.0 || std::isnan(sine)) {
                // The letter before "tg" is the Cyrillic es of cp1251.
                throw calc::MathError{
                    "can't calculate \xF1"
                    "tg"};
            }
            return std::cos(v) / sine;
        }
        case Function::Ln:
            if (!(v > 0.0)) throw calc::MathError{"argument of lg is <= zero"};
            return std::log(v);
        case Function::Exp:
            return std::exp(v);
        case Function::Asin:
            if (!(v >= -1.0 && v <= 1.0)) {
                throw calc::MathError{"argument of asin is out of ranges"};
            }
            return std::asin(v);
        case Function::Acos:
            if (!(v >= -1.0 && v <= 1.0)) {
                throw calc::MathError{"argument of acos is out of ranges"};
            }
            return std::acos(v);
        case Function::None:
            break;
    }
    throw calc::SyntaxError{"Incorrect function"};
}

}  // namespace

double calc_var::evaluate() {
    if (expression_text[0] == '\0') throw SyntaxError{"No Expression"};
    token_kind = Separator;
    double value = 0.0;
    while (token_kind != End) {
        value = expression();
        // A separator leaves the position on the ";".
        if (token_kind == Separator) ++position;
    }
    return value;
}

double calc_var::variable(char letter) const {
    return IsUpper(letter) ? variables[letter - 'A'] : 0.0;
}

void calc_var::set_variable(char letter, double value) {
    if (IsUpper(letter)) variables[letter - 'A'] = value;
}

void calc_var::get_token() {
    token_kind = End;
    token_text[0] = '\0';
    while (*position == ' ' || *position == '\n' || *position == '\r') ++position;
    token_start = position;

    // The text always ends in a zero byte, which no run below takes.
    const char c = *position;
    const char* last = position;
    if (IsDigit(c)) {
        token_kind = Number;
        while (IsDigit(*last) || *last == '.') ++last;
        if (*last == 'e' || *last == 'E') {
            ++last;
            if (*last == '+' || *last == '-') ++last;
            while (IsDigit(*last)) ++last;
        }
    } else if (c != '\0' && std::strchr("+-*/%^()", c) != nullptr) {
        token_kind = Operator;
        ++last;
    } else if (IsLower(c)) {
        token_kind = Name;
        while (IsLower(*last)) ++last;
    } else if (IsUpper(c)) {
        token_kind = Variable;
        while (IsUpper(*last)) ++last;
    } else if (c == ';') {
        // The position stays on the ";": the statement loop steps over it.
        token_kind = Separator;
        return;
    } else {
        // The end of the text, or a character that starts no token: the
        // position stays, so nothing after it is ever read.
        return;
    }

    // Longer runs are accepted: the token text keeps their first characters,
    // which is all that names and variables need, and numbers are converted
    // from the expression text.
    const auto length = std::min<std::ptrdiff_t>(last - position, MaxToken);
    std::memcpy(token_text, position, static_cast<std::size_t>(length));
    token_text[length] = '\0';
    position = last;
}

double calc_var::primary() {
    get_token();
    switch (token_kind) {
        case Number: {
            const double value = ConvertNumber(token_start, position);
            get_token();
            return value;
        }
        case Operator:
            switch (token_text[0]) {
                case '(': {
                    const double value = expression();
                    if (token_text[0] != ')') throw SyntaxError{") expected"};
                    get_token();
                    return value;
                }
                case '+':
                    return primary();
                case '-':
                    return -primary();
                default:
                    throw SyntaxError{"Incorrect operator"};
            }
        case Name: {
            if (std::strcmp(token_text, "pi") == 0) {
                get_token();
                return 3.1415926535;
            }
            const Function function = FindFunction(token_text);
            if (function == Function::None) throw SyntaxError{"Incorrect function"};
            return Apply(function, primary());
        }
        case Variable: {
            // Only the first letter names the variable; "=" must follow the
            // run at once to make an assignment.
            double& target = variables[token_text[0] - 'A'];
            if (*position == '=') {
                ++position;
                target = expression();
            }
            get_token();
            return target;
        }
        default:
            // End or separator: an empty primary, and nothing more is read.
            return 0.0;
    }
}
