#pragma once
// Shows a text file (a log) in the desktop's viewer for plain text.
#include <string>
#include <vector>

namespace tarv {

class TextViewer {
public:
    virtual ~TextViewer() = default;
    // Opens the file; false when no viewer could be started. An empty path opens nothing and fails.
    virtual bool openTextFile(const std::string& path) = 0;
};

// Records the files it was asked to open; the default of a fresh context.
class RecordingTextViewer : public TextViewer {
public:
    bool openTextFile(const std::string& path) override {
        opened.push_back(path);
        return succeed;
    }
    std::vector<std::string> opened;
    bool succeed = true;
};

}  // namespace tarv
