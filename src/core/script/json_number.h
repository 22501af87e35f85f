#pragma once

// Numbers as a script engine writes and reads them.

#include <string>
#include <string_view>

namespace quillet::json {

// The ECMAScript string form: shortest digits that read back to the same
// double, plain notation from 1e-6 up to below 1e21, otherwise "1.5e-7" /
// "1e+21"; "NaN", "Infinity", "-Infinity"; negative zero gives "0".
std::string NumberToText(double number);
void AppendNumberText(double number, std::string& out);

// Reads a decimal literal that the caller has already checked for shape
// (sign, digits, fraction, exponent). Out-of-range magnitudes give infinity
// or zero, as a script does.
double DecimalToDouble(std::string_view literal);

// A text that reads as a decimal number (blanks around it allowed) gives
// true and the number; anything else false.
bool TextToNumber(std::string_view text, double& number);

}  // namespace quillet::json
