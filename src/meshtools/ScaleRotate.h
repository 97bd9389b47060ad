#pragma once
// The whole-model commands of the "Tools" page: Scale resizes every object (and, when asked, the mesh-extras
// chunks and the animation keys); Rotate exchanges or negates axes in every object. Both change the model in
// memory only and rebuild the preview of every live object; deleted objects are changed too but stay hidden.
// While one runs, the window gets its log lines, status texts and progress values in batches, at most once every
// few milliseconds with an event pump, and all of them before a message or an error report and at the end.
#include <cstdint>
#include <functional>

namespace tarv {

class EditingContext;

inline const char* const kScaleAmountRefusal = "Please enter a numeric scale amount.";
inline const char* const kScalingComplete = "Scaling complete.";

// The steps Scale hands the chunks and the key tracks to; by default the mesh-extras and animation ones.
struct ScaleSteps {
    std::function<void(EditingContext&, float)> mexChunks;
    std::function<void(EditingContext&, int16_t track, float)> madKeyframes;
};
ScaleSteps defaultScaleSteps();

// Multiplies the object's six extents, every vertex and the translation elements 3, 7 and 11 of its matrix by
// the factor. A product that is not finite is error 6 and leaves the object as it was. Returns false after
// the error report. Traps its errors ("modPeo").
bool scaleObject(EditingContext& ctx, int16_t objNo, float factor);
// Turns every vertex of the object (axis 0 X, 1 Y, 2 Z; mode 0 exchanges the two other coordinates, mode 1
// negates z, x or y) and exchanges corners 2 and 3 of every polygon. Returns false after the error report.
// Traps its errors ("modPeo").
bool rotateObject(EditingContext& ctx, int16_t objNo, int16_t axis, int16_t mode);

// "Scale": by the percentage in txtScaleAmount, with the three boxes of the page. A text that is not a
// number, or a number that is not above 0, is refused with a box before anything changes. Traps its errors
// ("frmTARV").
void cmdScalePeo_Click(EditingContext& ctx, const ScaleSteps& steps = defaultScaleSteps());
// "Rotate": the axis of rotateOption and the mode of cmbRotateAmount; without a selected mode it does
// nothing. Traps its errors ("frmTARV").
void cmdRotate_Click(EditingContext& ctx);

}  // namespace tarv
