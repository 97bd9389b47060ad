#include "animation/SmdFile.h"

#include <cmath>

#include "base/NumberText.h"
#include "base/RunTimeError.h"

namespace tarv {

namespace {

bool isBlank(uint8_t c) { return c == ' ' || c == '\t'; }
bool isLineEnd(uint8_t c) { return c == '\r' || c == '\n'; }
bool isDigit(uint8_t c) { return c >= '0' && c <= '9'; }

// A sign or point followed by a digit (or a sign, a point and a digit), or a digit.
bool beginsLikeNumber(std::span<const uint8_t> b, size_t at) {
    auto digitAt = [&](size_t i) { return i < b.size() && isDigit(b[i]); };
    if (digitAt(at)) return true;
    if (b[at] == '.') return digitAt(at + 1);
    if (b[at] == '+' || b[at] == '-') return digitAt(at + 1) || (at + 1 < b.size() && b[at + 1] == '.' && digitAt(at + 2));
    return false;
}

bool nextField(std::span<const uint8_t> b, size_t& i, int& line, SmdField& f);

// The fields one at a time, with one field of lookahead; nothing but the current field is kept.
class FieldCursor {
public:
    FieldCursor(std::span<const uint8_t> bytes, const std::string& fileName) : bytes_(bytes), file_(fileName) {
        advance();
    }
    bool atEnd() const { return !has_; }
    const SmdField& peek() const { return current_; }
    SmdField take() {
        SmdField f = std::move(current_);
        advance();
        return f;
    }
    [[noreturn]] void refuse(const std::string& what, int line) const {
        throw RunTimeError::badFile("The SMD file " + file_ + " cannot be imported: " + what +
                                    (line > 0 ? " (line " + intText(line) + ")" : std::string()) + ".");
    }
    // A whole number field within 16 bits.
    int16_t id(const SmdField& f, const char* what) const {
        if (!f.numeric) refuse(std::string(what) + " \"" + f.text + "\" is not a number", f.line);
        if (!(f.value >= -32768.0 && f.value <= 32767.0))
            refuse(std::string(what) + " " + f.text + " is beyond 16 bits", f.line);
        return int16_t(std::trunc(f.value));
    }

private:
    void advance() { has_ = nextField(bytes_, at_, line_, current_); }
    std::span<const uint8_t> bytes_;
    std::string file_;
    size_t at_ = 0;
    int line_ = 1;
    SmdField current_;
    bool has_ = false;
};

bool isWord(const SmdField& f, const char* word) { return !f.numeric && f.text == word; }

}  // namespace

namespace {

bool nextField(std::span<const uint8_t> b, size_t& i, int& line, SmdField& f) {
    const size_t n = b.size();
    while (i < n) {
        if (isBlank(b[i])) {
            ++i;
        } else if (isLineEnd(b[i])) {
            if (b[i] == '\r' && i + 1 < n && b[i + 1] == '\n') ++i;
            ++i;
            ++line;
        } else {
            break;
        }
    }
    if (i >= n) return false;
    f = SmdField{};
    f.line = line;
    if (b[i] == '"') {
        const size_t start = ++i;
        while (i < n && b[i] != '"' && !isLineEnd(b[i])) ++i;
        f.text.assign(b.begin() + long(start), b.begin() + long(i));
        if (i < n && b[i] == '"') ++i;
        while (i < n && isBlank(b[i])) ++i;
        if (i < n && b[i] == ',') ++i;
    } else if (beginsLikeNumber(b, i)) {
        const size_t start = i;
        while (i < n && !isBlank(b[i]) && b[i] != ',' && !isLineEnd(b[i])) ++i;
        f.text.assign(b.begin() + long(start), b.begin() + long(i));
        f.numeric = true;
        f.value = leadingNumber(f.text);
        while (i < n && isBlank(b[i])) ++i;
        if (i < n && b[i] == ',') ++i;
    } else {
        const size_t start = i;
        while (i < n && b[i] != ',' && !isLineEnd(b[i])) ++i;
        size_t end = i;
        while (end > start && isBlank(b[end - 1])) --end;
        f.text.assign(b.begin() + long(start), b.begin() + long(end));
        if (i < n && b[i] == ',') ++i;
    }
    return true;
}

}  // namespace

std::vector<SmdField> smdFields(std::span<const uint8_t> bytes) {
    std::vector<SmdField> fields;
    size_t at = 0;
    int line = 1;
    SmdField f;
    while (nextField(bytes, at, line, f)) fields.push_back(f);
    return fields;
}

SmdSequence parseSmd(std::span<const uint8_t> bytes, const std::string& fileName) {
    FieldCursor in(bytes, fileName);
    SmdSequence smd;
    if (!in.atEnd()) in.take();  // the version
    if (in.atEnd() || !isWord(in.peek(), "nodes")) in.refuse("it has no nodes", in.atEnd() ? 0 : in.peek().line);
    in.take();
    while (!in.atEnd() && !isWord(in.peek(), "end")) {
        const SmdField id = in.take();
        if (in.atEnd()) break;
        const SmdField name = in.take();
        if (in.atEnd()) break;
        const SmdField parent = in.take();
        SmdNode node;
        node.nodeId = in.id(id, "the node id");
        node.name = name.text;
        node.parentId = in.id(parent, "the parent id");
        if (node.nodeId != int16_t(smd.nodes.size()))
            in.refuse("the node ids do not run 0, 1, 2, ... (node " + intText(node.nodeId) + " where " +
                          intText(int64_t(smd.nodes.size())) + " belongs)",
                      id.line);
        smd.nodes.push_back(std::move(node));
    }
    if (smd.nodes.empty()) in.refuse("it has no nodes", in.atEnd() ? 0 : in.peek().line);
    if (!in.atEnd()) in.take();  // "end"
    if (in.atEnd() || !isWord(in.peek(), "skeleton")) in.refuse("it has no skeleton", in.atEnd() ? 0 : in.peek().line);
    in.take();
    const size_t nodes = smd.nodes.size();
    while (!in.atEnd() && !isWord(in.peek(), "end")) {
        const SmdField time = in.take();
        if (time.numeric || time.text.rfind("time", 0) != 0) in.refuse("\"" + time.text + "\" is not a time line", time.line);
        SmdFrame frame;
        frame.frameNo = int16_t(smd.frames.size() + 1);
        frame.time = float(time.text.size() > 5 ? leadingNumber(std::string_view(time.text).substr(5)) : 0.0);
        if (!std::isfinite(frame.time)) in.refuse("\"" + time.text + "\" is beyond the range of a number", time.line);
        frame.poses.resize(nodes);
        bool complete = true;
        for (size_t k = 0; k < nodes && complete; ++k) {
            SmdBonePose& pose = frame.poses[k];
            float v[7];
            for (int j = 0; j < 7; ++j) {
                // Only a frame with a complete set of bone lines counts.
                if (in.atEnd()) {
                    complete = false;
                    break;
                }
                const SmdField f = in.take();
                if (!f.numeric) {
                    if (isWord(f, "end")) {
                        complete = false;
                        break;
                    }
                    in.refuse("\"" + f.text + "\" is not a number", f.line);
                }
                if (j == 0) {
                    pose.boneId = in.id(f, "the bone id");
                    if (pose.boneId != int16_t(k))
                        in.refuse("the bone lines of a frame do not carry the node ids in order (bone " +
                                      intText(pose.boneId) + " where " + intText(int64_t(k)) + " belongs)",
                                  f.line);
                }
                // A value beyond the range of the file's 32-bit floats would be saved as infinity.
                if (!std::isfinite(float(f.value)))
                    in.refuse("\"" + f.text + "\" is beyond the range of a number", f.line);
                v[j] = float(f.value);
            }
            if (!complete) break;
            pose.position = {v[1], v[2], v[3]};
            pose.rotation = {v[4], v[5], v[6]};
        }
        if (!complete) break;
        if (smd.frames.size() >= 32767) in.refuse("it has more than 32767 frames", time.line);
        smd.frames.push_back(std::move(frame));
    }
    if (smd.frames.empty()) in.refuse("it has no complete frame", 0);
    return smd;
}

}  // namespace tarv
