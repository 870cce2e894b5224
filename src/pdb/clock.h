#pragma once
#include <QDateTime>

namespace vekla {

// The program's clock. The converter's --now and the tests fix it so that
// dates written into files are reproducible.
QDateTime Now();
void SetNow(const QDateTime& fixed);  // an invalid QDateTime returns to the real clock

}  // namespace vekla
