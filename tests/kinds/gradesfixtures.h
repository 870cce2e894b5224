#pragma once
// Grade books and preferences databases built byte by byte, and the state
// the grade-book tests start from.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <initializer_list>
#include <string>
#include <vector>

#include "kinds/kinds.h"
#include "pdb/clock.h"
#include "pdb/text.h"
#include "support/bytes.h"
#include "support/scriptedprompter.h"
#include "workspace/setup.h"
#include "workspace/state.h"

namespace vekla::test {

// 07.03.2005 12:00:00 as a Palm timestamp (12849 days after 1970-01-01, less the hour).
constexpr std::uint32_t kMarch7Noon = 12849u * 86400u + 43200u - 3600u;

// Raw bytes from small numbers.
inline std::string B(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

// A record body from a list of fields, each followed by a NUL.
inline std::string Fields(const std::vector<std::string>& fields) {
  std::string out;
  for (const auto& f : fields) out += f + '\0';
  return out;
}

struct Semester {
  std::string label;   // "20041"
  std::string days;    // byte list: day, month per column
  std::string note;
  std::string starts;  // byte list: hour, minute per column
  std::string ends;
};

struct StudentPair {
  std::string grades;  // byte list: weight, grade per column
  std::string note;
};

struct Student {
  std::string order, name, examined;
  std::vector<StudentPair> pairs;
};

// The three special records and one record per student, in the form the
// program writes them.
inline std::vector<std::string> GradeBodies(const std::string& colour, const std::vector<Semester>& sems,
                                            const std::vector<Student>& students) {
  std::vector<std::string> r1{"-2", "3", colour}, r2{"-1", "3", "1"},
      r3{"0", sems.empty() ? std::string() : sems.front().label, ""};
  for (const auto& s : sems) {
    r1.push_back(s.days);
    r1.push_back(s.note);
    r2.push_back(s.starts);
    r2.push_back(s.label);
    r3.push_back(s.ends);
    r3.push_back("0");
  }
  std::vector<std::string> bodies{Fields(r1), Fields(r2), Fields(r3)};
  for (const auto& st : students) {
    std::vector<std::string> f{st.order, st.name, st.examined};
    for (const auto& pr : st.pairs) {
      f.push_back(pr.grades);
      f.push_back(pr.note);
    }
    bodies.push_back(Fields(f));
  }
  return bodies;
}

inline std::string GradesDb(const std::string& name, const std::string& colour, const std::vector<Semester>& sems,
                            const std::vector<Student>& students, std::uint32_t created = kMarch7Noon,
                            std::uint32_t modified = kMarch7Noon) {
  return pdbBytes(name, "data", "TqbZ", created, modified, GradeBodies(colour, sems, students));
}

inline std::string ReadBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QByteArray b = f.readAll();
  return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

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

// Everything reading a grade book may change, as one comparable text.
inline std::string Snapshot(const VeklaState& s) {
  std::string out = std::to_string(s.grid.colCount()) + "x" + std::to_string(s.grid.rowCount()) + "|";
  for (int r = 0; r <= s.grid.rowCount() + 1; ++r)
    for (int c = 0; c <= s.grid.colCount() + 1; ++c)
      out += s.grid.text(c, r) + "/" + std::to_string(s.grid.brush(c, r)) + "/" +
             std::to_string(s.grid.fontColor(c, r)) + "|";
  for (const auto* f : {&s.EditN, &s.EditC, &s.EditTD, &s.EditDV, &s.EditCV, &s.EditDZ, &s.EditCZ,
                        &s.semesterText})
    out += *f + "|";
  out += std::to_string(s.shape1) + "|" + std::to_string(s.shape2) + "|" + s.adresar1.toStdString() + "|";
  for (const auto& i : s.semesterItems) out += i + "|";
  out += std::to_string(s.semesterItemIndex) + "|" + std::to_string(s.currentSemester) + "|" +
         std::to_string(s.studentCount) + "|";
  for (const auto& l : s.memoPoznamka) out += l + "|";
  for (const auto& l : s.Memo1) out += l + "|";
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c <= 20; ++c) out += s.znamky.text(c, r) + "/" + std::to_string(s.znamky.fontColor(c, r)) + "|";
  for (int c = 0; c < 5; ++c)
    out += s.znamky2.text(c, 0) + "/" + std::to_string(s.znamky2.brush(c, 0)) + "/" +
           std::to_string(s.znamky2.fontColor(c, 0)) + "|";
  for (const auto& w : s.weights) out += w.text + "/" + std::to_string(w.color) + "|";
  out += s.gradesIni.toBytes() + "|" + std::to_string(s.gradesIniLoaded) + std::to_string(s.gradesIniDirty);
  return out;
}

// A grades tab as the program starts it, with its folders in a temporary
// directory: the handheld's backup folder is <tmp>/palm/Novotn/Backup/.
class GradesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    SetNow(QDateTime(QDate(2005, 3, 7), QTime(12, 0, 0)));
    s.programDir = dir.path() + "/";
    s.settings.set("PalmDesktop", "Path", fromQt(dir.path() + "/palm"));
    s.settings.set("PalmDesktop", "LastUserName", "Novotny Jan");
    InitControls(s);
    SetupTab(s, DbKind::Znamky);
  }
  void TearDown() override { SetNow(QDateTime()); }

  QString path(const char* utf8Name) const { return dir.path() + "/" + QString::fromUtf8(utf8Name); }
  QString backupFolder() const { return dir.path() + "/palm/Novotn/Backup/"; }

  QTemporaryDir dir;
  VeklaState s;
  ScriptedPrompter p;
};

}  // namespace vekla::test
