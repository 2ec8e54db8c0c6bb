#include "formula/ErrorInWords.h"

#include <array>
#include <string_view>

namespace {

struct Wording {
    std::string_view Text;  // the evaluator's, cp1251
    const char* Words;
};

constexpr std::array<Wording, 11> Wordings{{
    {"No Expression", "the formula is empty"},
    {") expected", "a ')' is missing"},
    {"Incorrect operator", "an operator stands where a number, a variable or '(' belongs"},
    {"Incorrect function",
     "an unknown function name: the functions are abs, sin, cos, tg, ctg, ln, exp, asin and acos, "
     "the one constant is pi"},
    {"Raising zero into power that is not greater than 0", "0 raised to a power of 0 or less"},
    {"Raising number, that is less than zero into not integer power",
     "a negative number raised to a power that is not whole"},
    {"can't calculate tg", "tg of an angle whose cosine is 0"},
    {"can't calculate \xF1tg", "ctg of an angle whose sine is 0"},
    {"argument of lg is <= zero", "ln of a number that is 0 or less"},
    {"argument of asin is out of ranges", "asin of a number outside -1 to 1"},
    {"argument of acos is out of ranges", "acos of a number outside -1 to 1"},
}};

}  // namespace

std::string ErrorInWords(const EvaluationResult& result) {
    switch (result.Error) {
        case EvaluationError::None:
            return {};
        case EvaluationError::DivZero:
            return "division by zero";
        case EvaluationError::Syntax:
        case EvaluationError::Math:
            for (const Wording& wording : Wordings)
                if (wording.Text == result.Text) return wording.Words;
            return result.Text;
        case EvaluationError::Other:
            break;
    }
    return "an error";
}
