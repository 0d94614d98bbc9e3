#include "rules/NumberReader.h"

#include "rules/Arith16.h"

#include <charconv>
#include <limits>
#include <string>

namespace {

// Any character that cannot be part of a number.
constexpr char Stop = '\0';

// The text as the reader sees it: blanks, tabs and line feeds dropped, full-width
// forms turned into their plain ASCII forms, everything else that is not ASCII a
// stop mark.
std::string Normalised(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar qc : text) {
        char16_t c = qc.unicode();
        if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\u3000')
            continue;
        // The full-width block U+FF01 to U+FF5E mirrors ASCII 0x21 to 0x7E.
        if (c >= 0xFF01 && c <= 0xFF5E)
            c = static_cast<char16_t>(c - 0xFEE0);
        out.push_back(c > 0 && c < 0x80 ? static_cast<char>(c) : Stop);
    }
    return out;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int DigitValue(char c, int radix)
{
    int d = -1;
    if (IsDigit(c))
        d = c - '0';
    else if (Lower(c) >= 'a' && Lower(c) <= 'f')
        d = Lower(c) - 'a' + 10;
    return d >= 0 && d < radix ? d : -1;
}

// The digits after "&H" or "&O". Accumulated in double precision: exact as far as
// any entry can accept, and a long run of digits grows into an infinity instead of
// wrapping round.
double ReadRadix(const std::string& s, std::size_t i, int radix)
{
    double v = 0;
    for (; i < s.size(); ++i) {
        const int d = DigitValue(s[i], radix);
        if (d < 0)
            break;
        v = v * radix + d;
    }
    return v;
}

// Beyond this many decimal places either way a number is far outside what a double
// holds; the exponent stops growing there, so no count can overflow.
constexpr long long MagnitudeLimit = 400;
constexpr long long ExponentCap = 1'000'000'000;

// A sign at `i`, if any: true for a minus. Moves `i` past it.
bool ReadSign(const std::string& s, std::size_t& i)
{
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        return s[i++] == '-';
    return false;
}

// An exponent at `i` ("e" or "d", a sign, digits), or 0: it counts only when at
// least one digit follows the letter. Its size is capped, never wrapped.
long long ReadExponent(const std::string& s, std::size_t i)
{
    if (i >= s.size() || (Lower(s[i]) != 'e' && Lower(s[i]) != 'd'))
        return 0;
    ++i;
    const bool negative = ReadSign(s, i);
    long long exponent = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        if (exponent < ExponentCap)
            exponent = exponent * 10 + (s[i] - '0');
    }
    return negative ? -exponent : exponent;
}

// The value 0.`digits` times ten to `magnitude`, where `digits` begins with a
// digit other than 0; beyond what a double holds, infinity or 0.
double ScaledValue(const std::string& digits, long long magnitude)
{
    const double infinity = std::numeric_limits<double>::infinity();
    if (magnitude > MagnitudeLimit)
        return infinity;
    if (magnitude < -MagnitudeLimit)
        return 0.0;
    const std::string canonical = "0." + digits + "e" + std::to_string(magnitude);
    double v = 0;
    const auto [end, ec] = std::from_chars(canonical.data(), canonical.data() + canonical.size(), v);
    (void)end;
    if (ec == std::errc::result_out_of_range)
        return magnitude > 0 ? infinity : 0.0;
    if (ec != std::errc())
        return 0.0;
    return v;
}

double ReadDecimal(const std::string& s)
{
    std::size_t i = 0;
    const bool negative = ReadSign(s, i);

    std::string digits;
    long long intDigits = 0;
    for (; i < s.size() && IsDigit(s[i]); ++i, ++intDigits)
        digits.push_back(s[i]);
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && IsDigit(s[i]); ++i)
            digits.push_back(s[i]);
    }
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return 0.0;
    // The value is 0.DDD... times ten to the magnitude.
    const long long magnitude = intDigits - static_cast<long long>(first) + ReadExponent(s, i);
    const double v = ScaledValue(digits.substr(first), magnitude);
    if (v == 0)
        return 0.0;
    return negative ? -v : v;
}

}  // namespace

double ReadNumber(const QString& text)
{
    const std::string s = Normalised(text);
    if (s.size() >= 2 && s[0] == '&') {
        if (Lower(s[1]) == 'h')
            return ReadRadix(s, 2, 16);
        if (Lower(s[1]) == 'o')
            return ReadRadix(s, 2, 8);
        return 0.0;
    }
    return ReadDecimal(s);
}

std::optional<std::int16_t> AcceptStep(double v, int upper)
{
    if (!(v > 0 && v <= upper))
        return std::nullopt;
    return static_cast<std::int16_t>(arith16::RoundHalfEven(v));
}

std::optional<std::int32_t> AcceptInterval(double v)
{
    if (!(v > 0 && v <= MaxInterval))
        return std::nullopt;
    const double rounded = arith16::RoundHalfEven(v);
    if (rounded == 0)
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}
