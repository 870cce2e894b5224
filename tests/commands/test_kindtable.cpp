// The tables of kinds: each kind's parameters, its row of what the window
// does with it, and its codecs, found by the kind, and a value that names no
// kind refused instead of standing for the grade book.
#include <gtest/gtest.h>

#include <stdexcept>

#include "commands/commands.h"
#include "commands/kindtable.h"
#include "pdb/text.h"
#include "support/scriptedprompter.h"
#include "workspace/kindops.h"
#include "workspace/kindparams.h"
#include "workspace/setup.h"

using namespace vekla;

namespace {

// Each table holds the kind's own row at the kind's place, and every row has
// the operations every kind needs: a row put in the wrong place, or a new
// kind's row left half empty, is found here before a tab shows it.
TEST(TableOfKinds, EveryKindHasItsOwnRowInEveryTable) {
  for (DbKind k : kAllKinds) {
    SCOPED_TRACE(static_cast<int>(k));
    EXPECT_EQ(Params(k).kind, k);
    EXPECT_EQ(KindTable(k).kind, k);
    const KindOps& ops = Ops(k);
    EXPECT_EQ(ops.kind, k);
    for (const bool set :
         {ops.setup != nullptr, ops.layout != nullptr, ops.loadAfterCommon != nullptr, ops.checkCell != nullptr,
          ops.highlight != nullptr, ops.rowInserted != nullptr, ops.rowName != nullptr})
      EXPECT_TRUE(set);
    // What a row has only in pairs.
    EXPECT_EQ(ops.columnInserted == nullptr, ops.removeColumn == nullptr);
    EXPECT_EQ(ops.gradeCell == nullptr, ops.afterEdit == nullptr);
  }
}

TEST(TableOfKinds, AValueThatNamesNoKindIsAnErrorNeverTheGradeBook) {
  for (int value : {-1, kKindCount, 99}) {
    SCOPED_TRACE(value);
    const auto k = static_cast<DbKind>(value);
    EXPECT_THROW(KindIndex(k), std::logic_error);
    EXPECT_THROW(Params(k), std::logic_error);
    EXPECT_THROW(KindTable(k), std::logic_error);
    EXPECT_THROW(Ops(k), std::logic_error);

    // A command that meets one ends in the error box and leaves the tab as
    // it was.
    VeklaState s;
    InitControls(s);
    SetupTab(s, DbKind::Rozpisy);
    s.grid.setText(2, 1, "Zlomky");
    test::ScriptedPrompter p;
    EXPECT_EQ(RunCommand(s, p, [&] { SetupTab(s, k); }), Outcome::Failed);
    ASSERT_EQ(p.errors.size(), 1u);
    EXPECT_EQ(p.errors[0], cp("Neočekávaná chyba: neznámý druh databáze ") + std::to_string(value));
    EXPECT_EQ(s.kind, DbKind::Rozpisy);
    EXPECT_EQ(s.grid.text(2, 1), "Zlomky");
  }
}

}  // namespace
