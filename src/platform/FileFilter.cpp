#include "platform/FileFilter.h"

#include <cctype>

namespace tarv {

namespace {
std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t at = text.find(separator, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return parts;
}
}  // namespace

std::vector<FileFilterEntry> parseFileFilter(const std::string& filter) {
    std::vector<FileFilterEntry> entries;
    if (filter.empty()) return entries;
    std::vector<std::string> parts = split(filter, '|');
    for (size_t i = 0; i < parts.size(); i += 2) {
        FileFilterEntry entry;
        entry.description = parts[i];
        std::string patterns = i + 1 < parts.size() ? parts[i + 1] : "*";
        for (std::string& p : split(patterns, ';'))
            if (!p.empty()) entry.patterns.push_back(p);
        if (entry.patterns.empty()) entry.patterns.push_back("*");
        entries.push_back(std::move(entry));
    }
    return entries;
}

std::string caseInsensitivePattern(const std::string& pattern) {
    std::string out;
    for (unsigned char c : pattern) {
        if (std::isalpha(c)) {
            out += '[';
            out += char(std::tolower(c));
            out += char(std::toupper(c));
            out += ']';
        } else {
            out += char(c);
        }
    }
    return out;
}

}  // namespace tarv
