#pragma once
// The order numbers ("Pořadí") of a grade book's students. The semester
// store and the database records find a student by number, so two students
// with one number would share grades, notes and a record: a grade book never
// holds two. Numbers run from 1 to 999.
#include <string>
#include <unordered_map>
#include <vector>

#include "workspace/inifile.h"
#include "workspace/state.h"

namespace vekla {

inline constexpr int kMaxOrderNumber = 999;

// The first order number above `after` (from 1 again past 999) that no
// student row but `row` holds in the order column; 0 when all are taken.
int FreeOrderNumber(const VeklaState& s, int after, int row);
// How many student rows hold each order-column text, for a check of every
// row in turn: whether another row holds a number is looked up, not
// searched for. The caller reports every order cell it changes.
class OrderTexts {
 public:
  explicit OrderTexts(const VeklaState& s);
  // Whether a row other than the one holding `own` holds `number`.
  bool heldByOther(const std::string& number, const std::string& own) const;
  void replaced(const std::string& before, const std::string& after);

 private:
  std::unordered_map<std::string, int> rows_;
};

// `number` (1 to 999) for the student in `row` when no other student has
// it, else the next free number, with a log line naming the student. With
// `texts` (kept for the grid as it is) the other rows are looked up there.
std::string UniqueOrderNumber(VeklaState& s, std::string number, int row, const OrderTexts* texts = nullptr);
// Gives every student row an order number of its own: a row in `missing`
// (whose number was left empty; the number it holds does not count), or
// whose number an earlier row holds already, gets the next free one, with
// one log line naming the student and the new number. Rows keep their
// captions; callers rebuild them where the captions follow the numbers.
void GiveUniqueOrderNumbers(VeklaState& s, const std::vector<int>& missing = {});
// The number of a student inserted now: the next after the highest given so
// far that is neither an order number nor a caption number of another row,
// nor a student kept in the semester store (whose grades it would show).
int NextStudentNumber(VeklaState& s, const IniFile& store);

}  // namespace vekla
