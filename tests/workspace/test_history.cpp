// The one list of the fields the history gives back besides the grid: every
// field of the state is in it or named here as one undo leaves alone, and
// every listed field is saved, compared and restored.
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <type_traits>
#include <utility>

#include "pdb/clock.h"
#include "workspace/history.h"
#include "workspace/kindops.h"

using namespace vekla;

namespace {

// Stands for a value of any type in a braced initializer; never evaluated.
struct AnyValue {
  template <class T>
  operator T&() const;
};

template <class T, class... Values>
concept InitializedBy = requires {
  T{std::declval<Values>()...};
};

template <std::size_t>
using Any = AnyValue;

template <class T, std::size_t... I>
constexpr bool TakesValues(std::index_sequence<I...>) {
  return InitializedBy<T, Any<I>...>;
}

// The number of fields of an aggregate: the most values a braced
// initializer of it takes.
template <class T, std::size_t n = 0>
constexpr std::size_t FieldCount() {
  if constexpr (TakesValues<T>(std::make_index_sequence<n + 1>())) return FieldCount<T, n + 1>();
  else return n;
}

// The fields of the state that undo leaves alone: the grid and the semester
// store (the history keeps them apart, by cells and by revision), what the
// statistics and the window compute again, the tab, the controls, the log,
// the folders, settings and stores, and the report's students, which the
// state holds only while the report's command runs.
constexpr auto kLeftAlone = std::make_tuple(
    &VeklaState::kind, &VeklaState::grid, &VeklaState::bands, &VeklaState::statisticsBasis, &VeklaState::caption,
    &VeklaState::panelHeight, &VeklaState::controls, &VeklaState::dialogFilter, &VeklaState::Memo1, &VeklaState::Lpohyb,
    &VeklaState::statusLine, &VeklaState::selCol, &VeklaState::selRow, &VeklaState::selValueCol,
    &VeklaState::selValueRow, &VeklaState::programDir, &VeklaState::exportDir, &VeklaState::dataDirOverride,
    &VeklaState::workFilesInMemory, &VeklaState::adresar1, &VeklaState::userName, &VeklaState::openFromFirst,
    &VeklaState::prefix, &VeklaState::creator, &VeklaState::type, &VeklaState::leadingRecords,
    &VeklaState::dialogResult, &VeklaState::Sloupce, &VeklaState::reload, &VeklaState::unsaved, &VeklaState::savedFile,
    &VeklaState::weightClick, &VeklaState::settings, &VeklaState::gradesIni, &VeklaState::gradesIniLoaded,
    &VeklaState::gradesIniDirty, &VeklaState::gradesIniWritten, &VeklaState::gradesIniWrittenTo,
    &VeklaState::reportStudents);

TEST(PanelFields, EveryFieldOfTheStateIsUndoneOrNamedAsLeftAlone) {
  constexpr std::size_t undone = std::tuple_size_v<decltype(kPanelFields)>;
  constexpr std::size_t alone = std::tuple_size_v<decltype(kLeftAlone)>;
  EXPECT_EQ(FieldCount<VeklaState>(), undone + alone)
      << "a field of VeklaState is neither in kPanelFields (workspace/history.h), which undo gives back, nor in "
         "kLeftAlone here";
  // Each field in one list only, once.
  const VeklaState s;
  std::set<const void*> fields;
  const auto add = [&](auto... field) { (fields.insert(&(s.*field)), ...); };
  std::apply(add, kPanelFields);
  std::apply(add, kLeftAlone);
  EXPECT_EQ(fields.size(), undone + alone);
}

// A value other than `v`, of its type.
std::string Other(std::string v) { return v + "x"; }
int Other(int v) { return v + 1; }
bool Other(bool v) { return !v; }
std::vector<std::string> Other(std::vector<std::string> v) {
  v.push_back("x");
  return v;
}
std::array<WeightEdit, 4> Other(std::array<WeightEdit, 4> v) {
  v[3].text += "1";
  return v;
}
CellGrid Other(CellGrid g) {
  g.setText(1, 0, g.text(1, 0) + "x");
  return g;
}

template <class T>
bool Same(const T& a, const T& b) {
  return a == b;
}
bool Same(const CellGrid& a, const CellGrid& b) { return a.text(1, 0) == b.text(1, 0); }

// A change of one listed field alone is a step; undo gives the field back
// and redo the change.
template <class T>
void UndoOneField(std::size_t index, T VeklaState::*field) {
  SCOPED_TRACE(testing::Message() << "field " << index << " of kPanelFields");
  VeklaState s;
  SetupTab(s, DbKind::Znamky);
  EditHistory h;
  h.reset(s);
  const T before = s.*field;
  s.*field = Other(s.*field);
  const T changed = s.*field;
  ASSERT_TRUE(h.record(s, "krok"));
  h.undo(s);
  EXPECT_TRUE(Same(s.*field, before));
  h.redo(s);
  EXPECT_TRUE(Same(s.*field, changed));
}

TEST(PanelFields, EveryListedFieldIsUndoneAndRedone) {
  SetNow(QDateTime(QDate(2026, 3, 9), QTime(10, 15, 0)));
  [&]<std::size_t... I>(std::index_sequence<I...>) { (UndoOneField(I, std::get<I>(kPanelFields)), ...); }
  (std::make_index_sequence<std::tuple_size_v<decltype(kPanelFields)>>());
  SetNow(QDateTime());
}

}  // namespace
