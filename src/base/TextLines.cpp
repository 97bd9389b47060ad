#include "base/TextLines.h"

namespace tarv {

std::vector<TextLine> splitTextLinesKeepingEnds(const std::string& text) {
    std::vector<TextLine> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            const size_t endLength = c == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
            lines.push_back({text.substr(start, i - start), text.substr(i, endLength)});
            i += endLength;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.push_back({text.substr(start), std::string()});
    return lines;
}

std::vector<std::string> splitTextLines(const std::string& text) {
    std::vector<std::string> lines;
    for (TextLine& line : splitTextLinesKeepingEnds(text)) lines.push_back(std::move(line.text));
    return lines;
}

std::string wordOfLine(const std::string& line, int n) {
    if (n < 1) return std::string();
    size_t start = 0;
    for (int counter = 1;; ++counter) {
        const size_t found = line.find_first_of(" \t", start);
        const size_t p = found == std::string::npos ? found : found - start;
        if (p == std::string::npos || p + 1 > 32767) return counter < n ? std::string() : line.substr(start);
        if (counter == n) {
            std::string word = line.substr(start, p);
            if (!word.empty() && word.back() == ',') word.pop_back();
            return word;
        }
        start = line.find_first_not_of(" \t", found);
        if (start == std::string::npos) start = line.size();
    }
}

}  // namespace tarv
