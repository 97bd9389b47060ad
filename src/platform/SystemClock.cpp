#include "platform/Clock.h"

#include <chrono>
#include <ctime>

namespace tarv {

namespace {
std::tm localNow() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}
std::string format(const char* pattern) {
    std::tm tm = localNow();
    char buf[64];
    size_t n = std::strftime(buf, sizeof buf, pattern, &tm);
    return std::string(buf, n);
}
}  // namespace

std::string SystemClock::dateText() { return format("%x"); }
std::string SystemClock::timeText() { return format("%X"); }

double SystemClock::secondsSinceMidnight() {
    using namespace std::chrono;
    auto now = system_clock::now();
    std::time_t t = system_clock::to_time_t(now);
    std::tm tm{};
    localtime_r(&t, &tm);
    double frac = double(duration_cast<microseconds>(now.time_since_epoch()).count() % 1000000) / 1e6;
    return tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec + frac;
}

double SystemClock::monotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace tarv
