#pragma once
// The clock and the text viewer of the desktop.
#include <QElapsedTimer>

#include "platform/Clock.h"
#include "platform/TextViewer.h"

namespace tarv {

// Local date (short form) and time (long form) as the user's locale writes them.
class QtClock : public Clock {
public:
    QtClock() { timer_.start(); }
    std::string dateText() override;
    std::string timeText() override;
    double secondsSinceMidnight() override;
    double monotonicSeconds() override;

private:
    QElapsedTimer timer_;
};

// Opens a text file in the desktop's default application for it.
class QtTextViewer : public TextViewer {
public:
    bool openTextFile(const std::string& path) override;
};

}  // namespace tarv
