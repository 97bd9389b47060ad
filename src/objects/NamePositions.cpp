#include "objects/NamePositions.h"

#include "base/NumberText.h"

namespace tarv {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

struct Run {
    size_t first = 1;  // 1-based start of the last digit run, 1 when there is none
    size_t last = 0;   // 1-based end of the run, 0 when there is none
};

Run lastDigitRun(const std::string& text) {
    Run run;
    size_t first = 0;
    for (size_t i = 1; i <= text.size(); ++i) {
        if (!isDigit(text[i - 1])) continue;
        if (first == 0) first = i;
        run.last = i;
    }
    if (first == 0) return run;
    for (size_t i = first; i <= run.last; ++i)
        if (!isDigit(text[i - 1])) first = i + 1;
    run.first = first;
    return run;
}

}  // namespace

int16_t getPositions(const std::string& text, int16_t posType) {
    const Run run = lastDigitRun(text);
    switch (posType) {
    case 1: return toInt16(int64_t(run.first) - 1);
    case 2: return toInt16(int64_t(run.last) - int64_t(run.first) + 1);
    case 3: return toInt16(int64_t(run.last) + 1);
    default: return 0;
    }
}

NameSplit splitAtLastNumber(const std::string& text) {
    const Run run = lastDigitRun(text);
    NameSplit split;
    if (run.last == 0) {
        split.suffix = text;
        return split;
    }
    split.prefix = text.substr(0, run.first - 1);
    split.digits = text.substr(run.first - 1, run.last - run.first + 1);
    split.suffix = text.substr(run.last);
    return split;
}

}  // namespace tarv
