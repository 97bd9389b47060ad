#pragma once
// The file dialogs' filter strings: "description|patterns|description|patterns...", patterns separated by
// ";". Names on Linux come in any letter case, so every pattern is matched without regard to case.
#include <string>
#include <vector>

namespace tarv {

struct FileFilterEntry {
    std::string description;
    std::vector<std::string> patterns;  // as written: "*.peo"
};

// Splits a filter string into its pairs; a trailing description without patterns gets "*".
std::vector<FileFilterEntry> parseFileFilter(const std::string& filter);
// "*.peo" -> "*.[pP][eE][oO]": letters become both-case sets, everything else stays.
std::string caseInsensitivePattern(const std::string& pattern);

}  // namespace tarv
