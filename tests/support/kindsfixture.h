#pragma once
// What the tests of the four database kinds share: files written and read
// back byte by byte, the state as one comparable text, and a tab of one kind
// in a temporary program folder with the clock fixed.
#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTime>
#include <cstdint>
#include <string>
#include <vector>

#include "pdb/clock.h"
#include "pdb/text.h"
#include "support/bytes.h"
#include "support/scriptedprompter.h"
#include "commands/filecommands.h"
#include "workspace/kindops.h"
#include "workspace/setup.h"
#include "workspace/state.h"

namespace vekla::test {

// 07.03.2005 12:00:00 as a Palm timestamp (12849 days after 1970-01-01, less
// the hour): the fixed "now" of the tests.
constexpr std::uint32_t kMarch7Noon = 12849u * 86400u + 43200u - 3600u;

// A record body from a list of fields, each followed by a NUL.
inline std::string Fields(const std::vector<std::string>& fields) {
  std::string out;
  for (const auto& f : fields) out += f + '\0';
  return out;
}

// `a` followed by `b`.
inline std::vector<std::string> Join(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The whole file, or nothing when it cannot be read.
inline std::string ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray b = f.readAll();
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

// Writes the file, making its folder first.
inline void WriteBytes(const QString& path, const std::string& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

inline std::uint32_t Be32At(const std::string& b, std::size_t at) {
  return (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) << 24) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 16) |
         (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 8) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3]));
}

// Body of record `i` (from 1) of a database as its bytes say.
inline std::string RecordBody(const std::string& b, int i) {
  const int n = (static_cast<unsigned char>(b[76]) << 8) | static_cast<unsigned char>(b[77]);
  const std::size_t first = Be32At(b, 78 + 8 * static_cast<std::size_t>(i - 1));
  const std::size_t end = i < n ? Be32At(b, 78 + 8 * static_cast<std::size_t>(i)) : b.size();
  return b.substr(first, end - first);
}

// Everything a reader of any kind may change, as one comparable text: the
// grid with its colours (and a little beyond it), the database and timetable
// panels, the colours, the first folder, the error log, and the grade book's
// semesters, scale, weights and semester store.
inline std::string Snapshot(const VeklaState& s) {
  std::string out = std::to_string(s.grid.colCount()) + "x" + std::to_string(s.grid.rowCount()) + "|";
  for (int r = 0; r <= s.grid.rowCount() + 1; ++r)
    for (int c = 0; c <= s.grid.colCount() + 2; ++c)
      out += s.grid.text(c, r) + "/" + std::to_string(s.grid.brush(c, r)) + "/" +
             std::to_string(s.grid.fontColor(c, r)) + "|";
  for (const auto* f : {&s.EditN, &s.EditC, &s.EditTD, &s.EditDV, &s.EditCV, &s.EditDZ, &s.EditCZ,
                        &s.EditRozvrhPolozka, &s.EditRozvrhLS, &s.semesterText})
    out += *f + "|";
  out += std::to_string(s.shape1) + "|" + std::to_string(s.shape2) + "|" + std::to_string(s.shapeRozvrh) + "|" +
         std::to_string(s.lichyTyden) + std::to_string(s.rozlisovatTydny) + "|" + s.adresar1.toStdString() + "|";
  for (const auto& l : s.Memo1) out += l + "|";
  for (const auto& i : s.semesterItems) out += i + "|";
  out += std::to_string(s.semesterItemIndex) + "|" + std::to_string(s.currentSemester) + "|" +
         std::to_string(s.studentCount) + "|";
  for (const auto& l : s.memoPoznamka) out += l + "|";
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c <= 20; ++c) out += s.znamky.text(c, r) + "/" + std::to_string(s.znamky.fontColor(c, r)) + "|";
  for (int c = 0; c < 5; ++c)
    out += s.znamky2.text(c, 0) + "/" + std::to_string(s.znamky2.brush(c, 0)) + "/" +
           std::to_string(s.znamky2.fontColor(c, 0)) + "|";
  for (const auto& w : s.weights) out += w.text + "/" + std::to_string(w.color) + "|";
  out += s.gradesIni.toBytes() + "|" + std::to_string(s.gradesIniLoaded) + std::to_string(s.gradesIniDirty);
  return out;
}

// A tab of one kind as the program starts it, with the program folder in a
// temporary directory and the clock at 07.03.2005 12:00:00. A fixture that
// needs settings puts them into `s` in its constructor: the controls and
// the tab are set up from them.
class KindTest : public ::testing::Test {
 protected:
  explicit KindTest(DbKind kind) : kind_(kind) {}

  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetNow(QDateTime(QDate(2005, 3, 7), QTime(12, 0, 0)));
    s.programDir = dir.path() + "/";
    InitControls(s);
    SetupTab(s, kind_);
  }
  void TearDown() override { SetNow(QDateTime()); }

  // A file in the temporary directory, named in UTF-8.
  QString path(const char* utf8Name) const { return dir.path() + "/" + QString::fromUtf8(utf8Name); }

  QTemporaryDir dir;
  VeklaState s;
  ScriptedPrompter p;

 private:
  DbKind kind_;
};

}  // namespace vekla::test
