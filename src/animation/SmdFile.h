#pragma once
// The skeletal sequence file (.smd) of Milkshape and Half-Life, read as a stream of fields: a version field,
// "nodes" with one (id, "name", parent id) line per bone up to "end", then "skeleton" with, per frame, a
// "time n" line and one line of seven numbers per bone (id, position x y z, rotation x y z in radians), up to
// "end". The pure parse below gives the bones and the complete frames, or throws.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/Geometry.h"

namespace tarv {

struct SmdNode {
    int16_t nodeId = 0;
    int16_t objectIndex = -1;  // the model object of the same name; -1 none
    int16_t trackIndex = -1;   // the key track made for it; -1 none
    std::string name;
    int16_t parentId = -1;
};

struct SmdBonePose {
    int16_t boneId = 0;
    Vector3 position;
    Vector3 rotation;  // radians
    Quaternion checkQuaternion;
    Quaternion quaternion;
    bool converted = false;
};

struct SmdFrame {
    int16_t frameNo = 0;  // 1 for the first frame
    float time = 0;       // seconds
    std::vector<SmdBonePose> poses;  // one per node, in node order
};

struct SmdSequence {
    std::vector<SmdNode> nodes;
    std::vector<SmdFrame> frames;
};

// One field of the stream, with the line it starts on (1-based).
struct SmdField {
    std::string text;
    bool numeric = false;
    double value = 0;  // the numeric beginning of a numeric field
    int line = 0;
};

// Splits the bytes into fields: leading blanks and tabs skipped; a quoted field is the text between the
// quotes; a field beginning like a number ends at a blank, comma or line end; any other field runs to a comma
// or a line end, blanks included. Lines end in CR LF, LF or CR.
std::vector<SmdField> smdFields(std::span<const uint8_t> bytes);

// The bones and the complete frames. Node ids must run 0, 1, 2, ... and every frame's bone lines carry them in
// that order. Throws a RunTimeError (naming fileName and the first line that breaks a rule) for a file
// without nodes or without a complete frame, an unreadable field, or ids out of order or beyond 16 bits.
SmdSequence parseSmd(std::span<const uint8_t> bytes, const std::string& fileName);

}  // namespace tarv
