#include "model/ModelHelpers.h"

#include <cmath>

#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/TrapGuard.h"

namespace tarv {

namespace {
constexpr int32_t kFirstRecordOffset = 68;
constexpr int32_t kRecordSizeHomeworld = 112;
constexpr int32_t kRecordSizeCataclysm = 116;
}  // namespace

int32_t convertKey(EditingContext& ctx, int32_t number, bool cataclysm) {
    int32_t result = 0;
    trapErrors(ctx, "modPeo", "convertKey", intText(number) + "|" + (cataclysm ? "True" : "False"), [&] {
        if (number == 0) return;
        const int64_t size = cataclysm ? kRecordSizeCataclysm : kRecordSizeHomeworld;
        result = toInt32((int64_t(number) - 1) * size + kFirstRecordOffset);
    });
    return result;
}

double convertOffsetToKey(int32_t offset, bool cataclysm) {
    if (offset == 0) return 0;
    const double size = cataclysm ? kRecordSizeCataclysm : kRecordSizeHomeworld;
    return (double(offset) - kFirstRecordOffset) / size + 1;
}

ColourBytes normaliseColour(const ColourBytes& bytes) {
    if (bytes[3] != 0) return {bytes[2], bytes[1], bytes[0], 0};
    return {bytes[0], bytes[1], bytes[2], 0};
}

int16_t convertMatFlags(EditingContext& ctx, const PeoMaterial& material) {
    int16_t result = 0;
    trapErrors(ctx, "modPeo", "convertMatFlags", "", [&] {
        int sum = 0;
        if (material.smoothing) sum += 2;
        if (material.flatShaded) sum += 4;
        if (material.twoSided) sum += 8;
        if (material.baseColour) sum += 16;
        if (material.stripeColour) sum += 32;
        if (material.selfIlluminated) sum += 64;
        result = int16_t(sum);
    });
    return result;
}

// Integer division truncates toward zero and the remainder keeps the dividend's sign, as C++ does.
int32_t getRed(int32_t colour) { return colour % 256; }
int32_t getGreen(int32_t colour) { return (colour / 256) % 256; }
int32_t getBlue(int32_t colour) { return (colour / 65536) % 256; }

std::string longToBinary(int32_t value) {
    std::string bits;
    bits.reserve(17);
    int64_t remaining = value;
    for (int n = 16; n >= 0; --n) {
        const int64_t power = int64_t(1) << n;
        if (power > remaining) {
            bits += '0';
        } else {
            remaining -= power;
            bits += '1';
        }
    }
    return bits;
}

int32_t binaryToLong(const std::string& bits) {
    int64_t weight = 1;
    int64_t value = 0;
    for (size_t i = 0; i < bits.size(); ++i) {
        if (i > 0) {
            weight *= 2;
            if (weight > INT32_MAX) throw RunTimeError::overflow();
        }
        if (bits[bits.size() - 1 - i] == '1') value += weight;
    }
    return int32_t(value);
}

double degToRad(double degrees) { return degrees / 180 * kPi; }

float radToDeg(double radians) { return float(radians * 180 / kPi); }

Matrix4 eulerToMatrix(const Vector3& angles) {
    const double sx = std::sin(double(angles.x)), cx = std::cos(double(angles.x));
    const double sy = std::sin(double(angles.y)), cy = std::cos(double(angles.y));
    const double sz = std::sin(double(angles.z)), cz = std::cos(double(angles.z));
    const double entries[3][3] = {
        {cy * cz, cy * sz, -sy},
        {sx * sy * cz - cx * sz, sx * sy * sz + cx * cz, sx * cy},
        {cx * sy * cz + sx * sz, cx * sy * sz - sx * cz, cx * cy},
    };
    Matrix4 result;  // the fourth row and column stay 0
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            float value = float(entries[r][c]);
            if (std::fabs(value) < 0.001f) value = 0;
            result.at(r, c) = value;
        }
    }
    return result;
}

Matrix4 transposeMatrix(const Matrix4& matrix) {
    Matrix4 result;
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) result.at(r, c) = matrix.at(c, r);
    return result;
}

double arcSin(double x) {
    const double rest = 1 - x * x;
    if (rest < 0) throw RunTimeError::invalidCall();
    const double root = std::sqrt(rest);
    if (root == 0) throw RunTimeError::divisionByZero();
    return std::atan(x / root);
}

std::string getWord(EditingContext& ctx, const std::string& line, int n) {
    std::string result;
    trapErrors(ctx, "modStringFunctions", "getWord", line + "|" + intText(n), [&] {
        // Callers ask for word 1 or later; any other n would never be reached.
        if (n < 1) return;
        std::string remaining = line;
        int counter = 0;
        for (;;) {
            const int p = getFirstSepPos(ctx, remaining);
            ++counter;
            std::string word;
            if (p > 0) {
                word = remaining.substr(0, size_t(p - 1));
                if (!word.empty() && word.back() == ',') word.pop_back();
                remaining = trimLeadingBlanks(remaining.substr(size_t(p - 1)));
            } else {
                if (counter < n) return;
                word = remaining;
            }
            if (counter == n) {
                result = word;
                return;
            }
        }
    });
    return result;
}

std::string trimLeadingBlanks(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first);
}

int16_t getFirstSepPos(EditingContext& ctx, const std::string& text) {
    int16_t result = 0;
    trapErrors(ctx, "modStringFunctions", "getFirstSepPos", text, [&] {
        const size_t p = text.find_first_of(" \t");
        if (p != std::string::npos) result = toInt16(int64_t(p) + 1);
    });
    return result;
}

}  // namespace tarv
