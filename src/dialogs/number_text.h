#pragma once

#include <optional>
#include <string>

namespace tarn {

// The number texts of the dialogs' edit boxes. None of these depend on the locale: a box
// always shows and reads a decimal point.

// The leading number of the text, as a handler reads a box while the user types: "12.5 cm"
// gives 12.5; empty text or text without a leading number gives 0.
double leadingNumber(const std::string& text);

// The leading integer of the text ("150.5" gives 150, "abc" 0); saturates at the int range.
int leadingInteger(const std::string& text);

// A field as the dialog writes it into a box: shortest form with up to 15 significant digits.
std::string fieldText(double value);

// A box read back into a field: leading white space, an optional sign and a number, which may be
// followed by anything. Nothing when no number starts the text ("Please enter a number.").
std::optional<double> readFieldText(const std::string& text);

// "%.3f" of the value, as the derived boxes show it.
std::string threeDecimalsText(double value);

// An unsigned integer box: only digits, with white space around them. Nothing when the text is
// not such a number; values past the unsigned range are kept at its top.
std::optional<unsigned long long> readUnsignedText(const std::string& text);

}  // namespace tarn
