#pragma once
// The text of a live value as the parameter pages show it.

#include <string>
#include <string_view>

// Fixed-point with `digits` decimals (at most 18 are written) after the value
// is rounded to 15 significant digits; halves round away from zero. A minus
// sign for negative values (not for one that rounds to zero), at least one
// digit before the separator, no separator when digits is 0. A value whose
// integer part needs more than 15 digits is written as "1.5E20" instead; NAN,
// INF and -INF stand for values that are not numbers. The separator is the
// caller's: the window passes the user's, the command-line tool a point. The
// C locale plays no part.
std::string ValueText(double value, int digits, char decimalSeparator = '.');

// The same with a separator of any length, as a window's locale gives it
// (UTF-8: a Russian locale's comma, or an Arabic decimal separator).
std::string ValueText(double value, int digits, std::string_view decimalSeparator);

// The shortest text that reads back as the same number, with a point: for
// the texts of the definition checker and the formula tryer.
std::string NumberText(double value);
