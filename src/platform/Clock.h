#pragma once
// Date, time and a monotonic clock. The system clock implements it; tests set and advance a fake.
#include <string>

namespace tarv {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::string dateText() = 0;         // the short date, for log headers
    virtual std::string timeText() = 0;         // the long time, for log headers
    virtual double secondsSinceMidnight() = 0;  // the time of day, for playback start times
    virtual double monotonicSeconds() = 0;      // for measuring intervals
};

// The system's clock, in plain C++.
class SystemClock : public Clock {
public:
    std::string dateText() override;
    std::string timeText() override;
    double secondsSinceMidnight() override;
    double monotonicSeconds() override;
};

}  // namespace tarv
