#pragma once
#include <string>
#include <vector>

namespace tarv {

// One line of a text file with the line end that closed it: "\r\n", "\n", "\r", or empty on a last line
// without one. Joining every text and end gives the file back byte for byte.
struct TextLine {
    std::string text;
    std::string end;
};

// Splits a text file into lines, each with its own line end; CR LF, LF and CR all end a line. An empty text
// has no lines; a last line without its ending still counts.
std::vector<TextLine> splitTextLinesKeepingEnds(const std::string& text);

// The lines of splitTextLinesKeepingEnds without their ends, so files saved on Windows, Linux and old Macs
// read alike.
std::vector<std::string> splitTextLines(const std::string& text);

// The n-th word of a line (n from 1): runs of blanks and tabs separate words, a line that begins with a
// separator has an empty first word, and a word followed by a separator loses one trailing comma while the
// last word keeps it. A separator beyond the 32767th character is not counted. Beyond the last word the
// result is empty.
std::string wordOfLine(const std::string& line, int n);

}  // namespace tarv
