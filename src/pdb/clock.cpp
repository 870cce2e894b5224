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

}  // namespace vekla
