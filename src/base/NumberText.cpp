#include "base/NumberText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "base/RunTimeError.h"

namespace tarv {

double roundHalfEven(double value) {
    // Works on the magnitude, whose distance to its floor is exact, so the result is the same in every
    // rounding mode of the machine: to nearest, a tie to the even neighbour, the sign kept (-0.4 -> -0).
    const double magnitude = std::fabs(value);
    if (!(magnitude < 4503599627370496.0)) return value;  // 2^52 and above are whole; also NaN
    // Below 2^52 the conversion to an integer drops exactly the fraction: the floor of the magnitude.
    const int64_t truncated = int64_t(magnitude);
    double whole = double(truncated);
    const double fraction = magnitude - whole;
    if (fraction > 0.5 || (fraction == 0.5 && (truncated & 1) != 0)) whole += 1;
    return std::copysign(whole, value);
}

double roundHalfEven(double value, int decimals) {
    if (decimals <= 0) return roundHalfEven(value);
    // Powers of ten up to 10^22 are exact doubles, as pow gives them.
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double scale = decimals <= 22 ? kPowersOfTen[decimals] : std::pow(10.0, decimals);
    double scaled = value * scale;
    if (!std::isfinite(scaled)) return value;
    return roundHalfEven(scaled) / scale;
}

namespace {
template <class Int>
Int checkedRound(double value) {
    double r = roundHalfEven(value);
    if (!(r >= double(std::numeric_limits<Int>::min()) && r <= double(std::numeric_limits<Int>::max())))
        throw RunTimeError::overflow();
    return Int(r);
}
template <class Int>
Int checkedNarrow(int64_t value) {
    if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max())
        throw RunTimeError::overflow();
    return Int(value);
}

// Significant-digit text: digits significant figures, exponent form from 10^digits up and below 1E-4.
std::string significantText(double value, int digits) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-Infinity" : "Infinity";
    if (value == 0) return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, std::fabs(value));
    // buf: d.ddddde±XX
    std::string text(buf);
    size_t ePos = text.find('e');
    int exponent = std::atoi(text.c_str() + ePos + 1);
    std::string mantissa;
    for (size_t i = 0; i < ePos; ++i)
        if (text[i] != '.') mantissa += text[i];
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

    std::string out = value < 0 ? "-" : "";
    if (exponent >= digits || exponent < -4) {
        out += mantissa.substr(0, 1);
        if (mantissa.size() > 1) out += "." + mantissa.substr(1);
        char e[16];
        std::snprintf(e, sizeof e, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return out + e;
    }
    if (exponent < 0) {
        out += "0." + std::string(size_t(-exponent - 1), '0') + mantissa;
        return out;
    }
    size_t intDigits = size_t(exponent) + 1;
    if (mantissa.size() <= intDigits) {
        out += mantissa + std::string(intDigits - mantissa.size(), '0');
    } else {
        out += mantissa.substr(0, intDigits) + "." + mantissa.substr(intDigits);
    }
    return out;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Scans sign, digits with at most one point and an optional exponent from pos; returns the end of the
// number and whether any mantissa digit was seen.
size_t scanNumber(std::string_view t, size_t pos, bool& sawDigit) {
    sawDigit = false;
    if (pos < t.size() && (t[pos] == '+' || t[pos] == '-')) ++pos;
    bool sawPoint = false;
    while (pos < t.size()) {
        if (isDigit(t[pos]))
            sawDigit = true;
        else if (t[pos] == '.' && !sawPoint)
            sawPoint = true;
        else
            break;
        ++pos;
    }
    if (sawDigit && pos < t.size() && (t[pos] == 'e' || t[pos] == 'E')) {
        size_t e = pos + 1;
        if (e < t.size() && (t[e] == '+' || t[e] == '-')) ++e;
        if (e < t.size() && isDigit(t[e])) {
            while (e < t.size() && isDigit(t[e])) ++e;
            pos = e;
        }
    }
    return pos;
}

double toDouble(std::string_view t) {
    std::string s(t);
    double v = std::strtod(s.c_str(), nullptr);  // strtod honours the C locale, which we never change
    return v;
}
}  // namespace

int16_t toInt16(double value) { return checkedRound<int16_t>(value); }
int32_t toInt32(double value) { return checkedRound<int32_t>(value); }
int16_t toInt16(int64_t value) { return checkedNarrow<int16_t>(value); }
int32_t toInt32(int64_t value) { return checkedNarrow<int32_t>(value); }

std::string floatText(float value) { return significantText(double(value), 7); }
std::string roundTripFloatText(float value) {
    // The fewest decimals whose text reads back to the value as a typed answer is read (through a double).
    char buf[128];
    for (int decimals = 0; decimals <= 60; ++decimals) {
        std::snprintf(buf, sizeof buf, "%.*f", decimals, double(value));
        if (const auto back = parseNumber(buf); back && float(*back) == value) break;
    }
    return std::string(buf) == "-0" ? "0" : buf;
}

std::string doubleText(double value) { return significantText(value, 15); }
std::string intText(int64_t value) { return std::to_string(value); }

std::string rightAlign(const std::string& text, size_t width) {
    if (text.size() >= width) return text;
    return std::string(width - text.size(), ' ') + text;
}

std::string fixed2(double value) {
    if (!std::isfinite(value)) return significantText(value, 15);
    double hundredths = std::round(value * 100.0);  // halves away from zero
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", hundredths / 100.0);
    return buf;
}

double leadingNumber(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos])) ++pos;
    bool sawDigit = false;
    size_t end = scanNumber(text, pos, sawDigit);
    if (!sawDigit) return 0;
    return toDouble(text.substr(pos, end - pos));
}

bool isNumeric(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size() && isBlank(text[pos])) ++pos;
    std::string compact;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        compact += text[pos++];
        while (pos < text.size() && isBlank(text[pos])) ++pos;
    }
    size_t start = pos;
    bool sawDigit = false;
    size_t end = scanNumber(text, pos, sawDigit);
    if (!sawDigit || (end > start && (text[start] == '+' || text[start] == '-'))) return false;
    while (end < text.size() && isBlank(text[end])) ++end;
    return end == text.size();
}

std::optional<double> parseNumber(std::string_view text) {
    if (!isNumeric(text)) return std::nullopt;
    std::string compact;
    for (char c : text)
        if (!isBlank(c)) compact += c;
    return toDouble(compact);
}

}  // namespace tarv
