#include "pdb/clock.h"

namespace vekla {
namespace {
QDateTime& fixedNow() {
  static QDateTime t;
  return t;
}
}  // namespace

QDateTime Now() {
  const QDateTime& f = fixedNow();
  return f.isValid() ? f : QDateTime::currentDateTime();
}

void SetNow(const QDateTime& fixed) { fixedNow() = fixed; }

std::string TodayDayMonth() {
  const QDate d = Now().date();
  return std::to_string(d.day()) + "." + std::to_string(d.month());
}

std::string NowHourMinute() { return Now().time().toString(QStringLiteral("hh:mm")).toStdString(); }

}  // namespace vekla
