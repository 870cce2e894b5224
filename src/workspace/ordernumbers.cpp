#include "workspace/ordernumbers.h"

#include <algorithm>
#include <charconv>

#include "pdb/text.h"
#include "workspace/gradegeometry.h"

namespace vekla {

namespace {

using G = GradeGeometry;

// A decimal number from 1 to 999; 0 for anything else.
int orderNumber(std::string_view t) {
  int v = 0;
  const auto [p, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (t.empty() || ec != std::errc() || p != t.data() + t.size() || v < 1 || v > kMaxOrderNumber) return 0;
  return v;
}

// The number of a row caption "12. Novák ": the digits before its first dot.
int captionNumber(const std::string& caption) {
  const std::size_t dot = caption.find('.');
  return dot == std::string::npos ? 0 : orderNumber(std::string_view(caption).substr(0, dot));
}

using Taken = std::vector<bool>;  // indexed by number, 0 to 999

// The first number above `after` that is not taken, from 1 again past 999.
int nextFree(const Taken& taken, int after) {
  after = std::clamp(after, 0, kMaxOrderNumber);
  for (int i = 1; i <= kMaxOrderNumber; ++i) {
    const int n = (after + i - 1) % kMaxOrderNumber + 1;
    if (!taken[static_cast<std::size_t>(n)]) return n;
  }
  return 0;
}

Taken takenByOthers(const VeklaState& s, int row) {
  Taken taken(kMaxOrderNumber + 1);
  const G geo(s.grid);
  for (int r = G::kFirstStudentRow; r <= geo.lastStudentRow(); ++r)
    if (r != row) taken[static_cast<std::size_t>(orderNumber(s.grid.text(G::kOrderCol, r)))] = true;
  return taken;
}

// One log line for a student given a new number in place of `old`.
void logNewNumber(VeklaState& s, int row, const std::string& old, int n) {
  const std::string why = old.empty() ? cp(": chybělo pořadí") : cp(": pořadí ") + old + cp(" už má jiný žák");
  Log(s, cp("Žák ") + s.grid.text(G::kNameCol, row) + why + cp(", dostal pořadí ") + std::to_string(n));
}

}  // namespace

int FreeOrderNumber(const VeklaState& s, int after, int row) { return nextFree(takenByOthers(s, row), after); }

OrderTexts::OrderTexts(const VeklaState& s) {
  const G geo(s.grid);
  for (int r = G::kFirstStudentRow; r <= geo.lastStudentRow(); ++r) ++rows_[s.grid.text(G::kOrderCol, r)];
}

bool OrderTexts::heldByOther(const std::string& number, const std::string& own) const {
  const auto it = rows_.find(number);
  return it != rows_.end() && it->second > (own == number ? 1 : 0);
}

void OrderTexts::replaced(const std::string& before, const std::string& after) {
  if (const auto it = rows_.find(before); it != rows_.end() && --it->second == 0) rows_.erase(it);
  ++rows_[after];
}

std::string UniqueOrderNumber(VeklaState& s, std::string number, int row, const OrderTexts* texts) {
  const G geo(s.grid);
  bool taken = false;
  if (texts) {
    taken = texts->heldByOther(number, s.grid.text(G::kOrderCol, row));
  } else {
    for (int r = G::kFirstStudentRow; r <= geo.lastStudentRow() && !taken; ++r)
      taken = r != row && s.grid.text(G::kOrderCol, r) == number;
  }
  if (!taken) return number;
  const int n = FreeOrderNumber(s, orderNumber(number), row);
  if (n == 0) return number;
  logNewNumber(s, row, number, n);
  return std::to_string(n);
}

void GiveUniqueOrderNumbers(VeklaState& s, const std::vector<int>& missing) {
  CellGrid& g = s.grid;
  const G geo(g);
  auto isMissing = [&](int r) { return std::find(missing.begin(), missing.end(), r) != missing.end(); };
  Taken taken(kMaxOrderNumber + 1);
  std::vector<int> renumber;
  for (int r = G::kFirstStudentRow; r <= geo.lastStudentRow(); ++r) {
    if (isMissing(r)) {
      renumber.push_back(r);
      continue;
    }
    // A number that is no number is left to the cell check.
    const int n = orderNumber(g.text(G::kOrderCol, r));
    if (n == 0) continue;
    if (taken[static_cast<std::size_t>(n)]) renumber.push_back(r);
    else taken[static_cast<std::size_t>(n)] = true;
  }
  // Every number given in the file is kept by its first student before any
  // other student is given one, so no one takes a number a later row has.
  for (int r : renumber) {
    const std::string old = isMissing(r) ? std::string() : g.text(G::kOrderCol, r);
    const int n = nextFree(taken, orderNumber(old));
    if (n == 0) break;  // more than 999 students: the import bounds prevent it
    taken[static_cast<std::size_t>(n)] = true;
    g.setText(G::kOrderCol, r, std::to_string(n));
    logNewNumber(s, r, old, n);
  }
}

int NextStudentNumber(VeklaState& s, const IniFile& store) {
  const G geo(s.grid);
  Taken taken = takenByOthers(s, -1);
  for (int r = G::kFirstStudentRow; r <= geo.lastStudentRow(); ++r)
    taken[static_cast<std::size_t>(captionNumber(s.grid.text(0, r)))] = true;
  Taken withStored = taken;
  for (int n = 1; n <= kMaxOrderNumber; ++n)
    if (store.has("Z" + std::to_string(n), "Jmeno")) withStored[static_cast<std::size_t>(n)] = true;
  int n = nextFree(withStored, s.studentCount);
  // A store that keeps every number (students removed over the years) must
  // not keep a class from growing: then only the rows count.
  if (n == 0) n = nextFree(taken, s.studentCount);
  s.studentCount = std::max(s.studentCount, n);
  return n;
}

}  // namespace vekla
