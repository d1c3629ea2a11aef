#include "util/number.h"

#include <charconv>
#include <cstddef>
#include <limits>
#include <string>

namespace kelvane {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::size_t digitsFrom(std::string_view text, std::size_t at)
{
    while (at < text.size() && isDigit(text[at]))
        ++at;
    return at;
}

} // namespace

double leadingNumber(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;

    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';

    const std::size_t start = at;
    const std::size_t integerEnd = digitsFrom(text, at);
    std::size_t end = integerEnd;
    std::size_t fractionEnd = integerEnd;
    if (end < text.size() && text[end] == '.')
        end = fractionEnd = digitsFrom(text, end + 1);
    // A point needs a digit on one side to be part of a number.
    if (integerEnd == start && fractionEnd <= integerEnd + 1)
        return 0.0;

    // An exponent counts only when a digit follows its letter (and sign).
    long exponent = 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t digit = end + 1;
        bool negativeExponent = false;
        if (digit < text.size() && (text[digit] == '+' || text[digit] == '-'))
            negativeExponent = text[digit++] == '-';
        const std::size_t exponentEnd = digitsFrom(text, digit);
        if (exponentEnd > digit) {
            end = exponentEnd;
            for (; digit < exponentEnd && exponent < 100000; ++digit)
                exponent = exponent * 10 + (text[digit] - '0');
            if (negativeExponent)
                exponent = -exponent;
        }
    }

    const std::string_view number = text.substr(start, end - start);
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: large is above every limit, small is zero.
        // The decimal place of the first significant digit tells which.
        const std::string_view digits = text.substr(start, fractionEnd - start);
        const std::size_t first = digits.find_first_not_of("0.");
        const std::size_t point = integerEnd - start;
        const long place = first < point ? static_cast<long>(point - first)
                                         : -static_cast<long>(first - point - 1);
        value = place + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

} // namespace kelvane
