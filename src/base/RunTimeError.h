#pragma once
// The one exception type of the editor. It carries the classic run-time error number, the source that
// raised it and a description; load errors of the file readers are run-time errors too.
#include <stdexcept>
#include <string>

namespace tarv {

class RunTimeError : public std::runtime_error {
public:
    RunTimeError(int number, std::string description, std::string source = "TARV")
        : std::runtime_error(description), number_(number), description_(std::move(description)),
          source_(std::move(source)) {}

    int number() const { return number_; }
    const std::string& description() const { return description_; }
    const std::string& source() const { return source_; }

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

private:
    int number_;
    std::string description_;
    std::string source_;
};

} // namespace tarv
