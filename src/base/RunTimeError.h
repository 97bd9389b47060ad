#pragma once
// The one exception type of the editor. It carries the classic run-time error number, the source that
// raised it, a description and, where the raiser knows them, details: what is wrong and in which file. Load
// errors of the file readers are run-time errors too.
#include <stdexcept>
#include <string>

namespace tarv {

class RunTimeError : public std::runtime_error {
public:
    RunTimeError(int number, std::string description, std::string source = "TARV")
        : std::runtime_error(description),
          number_(number),
          description_(std::move(description)),
          source_(std::move(source)) {}

    int number() const { return number_; }
    const std::string& description() const { return description_; }
    const std::string& source() const { return source_; }
    // What is wrong and where, beyond the classic description; empty when nothing more is known.
    const std::string& detail() const { return detail_; }
    RunTimeError& withDetail(std::string detail) {
        detail_ = std::move(detail);
        return *this;
    }

    // The usual errors, with their usual numbers and texts.
    static RunTimeError overflow() { return {6, "Overflow"}; }
    static RunTimeError subscriptOutOfRange() { return {9, "Subscript out of range"}; }
    static RunTimeError invalidCall() { return {5, "Invalid procedure call or argument"}; }
    static RunTimeError divisionByZero() { return {11, "Division by zero"}; }
    // A handle (mesh, frame, tree node) that is not there.
    static RunTimeError objectNotSet() { return {91, "Object variable or With block variable not set"}; }
    static RunTimeError fileNotFound(const std::string& path) { return {53, "File not found: " + path}; }
    // A file that is shorter than what it claims, or points outside itself.
    static RunTimeError badFile(const std::string& what) { return {62, what}; }
    // An Overflow whose detail names the number, what it counts and the file: "the object count 1734829 in
    // Tarvlet.peo does not fit (at most 32767)".
    static RunTimeError tooLarge(const std::string& what, long long value, const std::string& fileName,
                                 long long most) {
        return overflow().withDetail(what + " " + std::to_string(value) + " in " + fileName +
                                     " does not fit (at most " + std::to_string(most) + ")");
    }
    // An error met while the file was read names it: without a detail and a description that names the file,
    // the detail becomes "while reading " and the file's name.
    RunTimeError& whileReading(const std::string& fileName) {
        if (detail_.empty() && description_.find(fileName) == std::string::npos) detail_ = "while reading " + fileName;
        return *this;
    }

private:
    int number_;
    std::string description_;
    std::string source_;
    std::string detail_;
};

}  // namespace tarv
