#include "platform/qt/QtDesktop.h"

#include <QDate>
#include <QDesktopServices>
#include <QLocale>
#include <QTime>
#include <QUrl>

namespace tarv {

std::string QtClock::dateText() { return QLocale().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString(); }

std::string QtClock::timeText() { return QLocale().toString(QTime::currentTime(), QLocale::LongFormat).toStdString(); }

double QtClock::secondsSinceMidnight() { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; }

double QtClock::monotonicSeconds() { return double(timer_.nsecsElapsed()) / 1e9; }

bool QtTextViewer::openTextFile(const std::string& path) {
    if (path.empty()) return false;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
}

}  // namespace tarv
