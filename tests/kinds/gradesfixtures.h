#pragma once
// Grade books and preferences databases built byte by byte, and the state
// the grade-book tests start from.
#include <initializer_list>
#include <string>
#include <vector>

#include "kinds/kinds.h"
#include "support/kindsfixture.h"

namespace vekla::test {

// Raw bytes from small numbers.
inline std::string B(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
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

// A grades tab as the program starts it, with its folders in a temporary
// directory: the handheld's backup folder is <tmp>/palm/Novotn/Backup/.
class GradesTest : public KindTest {
 protected:
  GradesTest() : KindTest(DbKind::Znamky) {
    s.settings.set("PalmDesktop", "Path", fromQt(dir.path() + "/palm"));
    s.settings.set("PalmDesktop", "LastUserName", "Novotny Jan");
  }

  QString backupFolder() const { return dir.path() + "/palm/Novotn/Backup/"; }
};

}  // namespace vekla::test
