#pragma once
// The preview's rotation math: matrix elements, rounded matrices, an object's position, Euler angles to
// quaternions (two conventions: keyframes and object frames), the camera's orbit quaternion, and the
// decomposition of an object's rotation matrix back into Euler angles.
#include <cstdint>

#include "model/state/ShipModel.h"

namespace tarv {

class EditingContext;

// Element i - 1 in storage order for i = 1 ... 16; 0 for any other i.
float getMatrixElement(int16_t i, const Matrix4& m);

// dst = src rounded element by element to four decimals (ties to even). src and dst may be the same.
// The ten-thousandfold value is rounded in 64 bits, so large elements do not overflow.
void roundMatrix(const Matrix4& src, Matrix4& dst);

// Elements 3, 7 and 11 of the object's matrix. An index outside peoObjects is "Subscript out of range".
Vector3 getObjectPosition(const EditingContext& ctx, int16_t objNo);

// True only when the length, rounded to a 32-bit float, is exactly 1.
bool isUnitVector(const Vector3& v);

Vector3 makeVector(float x, float y, float z);

// The orbit orientation of the camera: w = cos(b) cos(a/2), x = sin(a/2), y = sin(b), z = sin(c/2).
void getViewQuaternion(float a, float b, float c, Quaternion& q);

// Keyframe rotations (half-angle sines and cosines rounded to 32-bit floats first).
Quaternion makeQuaternion(const Vector3& e);

// Object frames: the conjugate of the x-then-y-then-z rotation, computed in 64 bits.
Quaternion getObjectQuaternion(const Vector3& e);

// The Euler angles (X, Y, Z, radians) of the object's rotation, M = Rz(Z) Ry(Y) Rx(X). Angles that no case
// resolves stay at the -999 degree sentinel. Traps its errors (module "modD3D"): after a report it
// returns (0, 0, 0).
Vector3 getObjectEulersFromMatrix(EditingContext& ctx, int16_t objNo);

}  // namespace tarv
