#pragma once
#include <QDateTime>
#include <string>

namespace vekla {

// The program's clock. The converter's --now and the tests fix it so that
// dates written into files are reproducible.
QDateTime Now();
void SetNow(const QDateTime& fixed);  // an invalid QDateTime returns to the real clock

// Today as day and month without leading zeros ("9.3"), the form of the
// grade book's date row; the current time as "hh:mm".
std::string TodayDayMonth();
std::string NowHourMinute();

}  // namespace vekla
