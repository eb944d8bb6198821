#include "dialogs/number_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <limits>

namespace tarn {
namespace {

std::size_t skipSpace(const std::string& text, std::size_t at) {
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at])) != 0) {
        ++at;
    }
    return at;
}

}  // namespace

std::optional<double> readFieldText(const std::string& text) {
    std::size_t at = skipSpace(text, 0);
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    // from_chars takes no sign of its own before a number written with one.
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        return std::nullopt;
    }
    double value = 0;
    const char* first = text.data() + at;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (end == first) {
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        // Past the double range: as large (or as small) as a double can say.
        const std::string number(first, end);
        const bool tiny =
            number.find("e-") != std::string::npos || number.find("E-") != std::string::npos;
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    return negative ? -value : value;
}

double leadingNumber(const std::string& text) {
    return readFieldText(text).value_or(0.0);
}

int leadingInteger(const std::string& text) {
    std::size_t at = skipSpace(text, 0);
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    long long value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0; ++at) {
        value = std::min<long long>(value * 10 + (text[at] - '0'), 1LL + INT_MAX);
    }
    value = negative ? -value : value;
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

std::string fieldText(double value) {
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

std::string threeDecimalsText(double value) {
    char buffer[400];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3);
    if (result.ec != std::errc()) {
        return fieldText(value);
    }
    return std::string(buffer, result.ptr);
}

std::optional<unsigned long long> readUnsignedText(const std::string& text) {
    const std::size_t first = skipSpace(text, 0);
    std::size_t at = first;
    unsigned long long value = 0;
    bool overflow = false;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0; ++at) {
        const unsigned digit = static_cast<unsigned>(text[at] - '0');
        if (value > (std::numeric_limits<unsigned long long>::max() - digit) / 10) {
            overflow = true;
        } else {
            value = value * 10 + digit;
        }
    }
    if (at == first || skipSpace(text, at) != text.size()) {
        return std::nullopt;
    }
    return overflow ? std::numeric_limits<unsigned long long>::max() : value;
}

}  // namespace tarn
