#pragma once
// The small shared helpers of the ship model: object numbers and record offsets, colours and material
// flags, bit strings, angles and matrices, and splitting lines into words.
#include <cstdint>
#include <string>

#include "model/state/ShipModel.h"

namespace tarv {

class EditingContext;

inline constexpr double kPi = 3.14159265359;

// Object number -> file offset of its record (0 stays 0). Traps its errors (report, then 0).
int32_t convertKey(EditingContext& ctx, int32_t number, bool cataclysm);
// File offset -> object number, not rounded (0 stays 0).
double convertOffsetToKey(int32_t offset, bool cataclysm);
ColourBytes normaliseColour(const ColourBytes& bytes);
// Sum of the six flag values (2, 4, 8, 16, 32, 64). Traps its errors.
int16_t convertMatFlags(EditingContext& ctx, const PeoMaterial& material);
int32_t getRed(int32_t colour);
int32_t getGreen(int32_t colour);
int32_t getBlue(int32_t colour);
// Bits 16 down to 0 as seventeen "0"/"1" characters.
std::string longToBinary(int32_t value);
// A "0"/"1" string, last character bit 0; a 32nd character overflows (error 6).
int32_t binaryToLong(const std::string& bits);
double degToRad(double degrees);
float radToDeg(double radians);
Matrix4 eulerToMatrix(const Vector3& angles);
Matrix4 transposeMatrix(const Matrix4& matrix);
// atan(x / sqrt(1 - x x)); x = +-1 is "Division by zero", beyond it "Invalid procedure call or argument".
double arcSin(double x);
// The n-th word of line (blanks and tabs separate; a trailing comma is dropped except on the last word).
// Traps its errors (report, then "").
std::string getWord(EditingContext& ctx, const std::string& line, int n);
std::string trimLeadingBlanks(const std::string& text);
// 1-based position of the first blank or tab, 0 when none. Traps its errors (report, then 0).
int16_t getFirstSepPos(EditingContext& ctx, const std::string& text);

}  // namespace tarv
