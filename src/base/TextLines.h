#pragma once
#include <string>
#include <vector>

namespace tarv {

// Splits a text file into lines; CR LF, LF and CR all end a line, so files saved on Windows, Linux and old
// Macs read alike. An empty text has no lines; a last line without its ending still counts.
std::vector<std::string> splitTextLines(const std::string& text);

} // namespace tarv
