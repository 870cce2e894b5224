// An export reads the tab and leaves it as it was: a database without a
// name keeps none, a sorted column keeps its mark, and the export is no
// step to undo and no unsaved edit. Only the log hears what it left out.
#include <gtest/gtest.h>

#include "commands/commands.h"
#include "commands/convertcommands.h"
#include "commands/undocommands.h"
#include "support/kindsfixture.h"
#include "workspace/kindparams.h"

using namespace vekla;
using namespace vekla::test;

namespace {

class Exports : public KindTest {
 protected:
  Exports() : KindTest(DbKind::Znamky) {}
};

TEST_F(Exports, EveryExportLeavesTheTabAsItWas) {
  const struct {
    Conversion conversion;
    const char* ending;
  } formats[] = {{Conversion::ExportCsv, ".csv"},
                 {Conversion::ExportHtml, ".html"},
                 {Conversion::ExportSql, ".sql"},
                 {Conversion::ExportXlsx, ".xlsx"}};
  for (DbKind kind : kAllKinds) {
    SCOPED_TRACE(KindPrefix(kind));
    SetupTab(s, kind);
    // An unnamed database with a text, sorted by a column where the kind sorts.
    s.EditN.clear();
    s.grid.setText(2, 4, "x");
    if (kind != DbKind::Rozvrh) ColumnTitleClick(s, 2);
    MarkSaved(s);
    Histories h;
    StartHistory(s, h);
    const std::string before = Snapshot(s);
    for (const auto& f : formats) {
      if (!KindTable(kind).exporter(f.conversion)) continue;
      SCOPED_TRACE(f.ending);
      // The grade book's CSV export asks twice.
      p.saveAnswers = {path("a.x"), path("b.x")};
      p.opened.clear();
      const std::size_t asked = p.saveRequests.size();
      ASSERT_EQ(RunCommand(s, p, [&] { return ConvertClick(s, p, f.conversion); }), Outcome::Done);
      // As the window records every command.
      EXPECT_FALSE(RecordEdit(s, h, "export"));
      EXPECT_FALSE(h.of(kind).canUndo());
      EXPECT_FALSE(HasUnsavedEdits(s));
      EXPECT_EQ(Snapshot(s), before);
      // The files still take the kind's default name.
      const QString proposed = f.conversion == Conversion::ExportCsv || f.conversion == Conversion::ExportSql
                                   ? p.saveRequests.at(asked).fileName
                                   : p.opened.back();
      EXPECT_TRUE(
          QFileInfo(proposed).fileName().startsWith(QString::fromStdString(KindPrefix(kind)), Qt::CaseInsensitive))
          << proposed.toStdString();
    }
  }
}

}  // namespace

// What an export leaves out reaches the log once its file is written; a
// cancelled export writes nothing and says nothing.
TEST_F(Exports, WhatAnExportLeavesOutGoesToTheLogWhenWritten) {
  SetupTab(s, DbKind::Kalendar);
  s.grid.setRowCount(370);
  s.Memo1.clear();
  EXPECT_EQ(ConvertClick(s, p, Conversion::ExportSql), Outcome::Cancelled);
  EXPECT_TRUE(s.Memo1.empty());
  p.saveAnswers = {path("k.sql")};
  EXPECT_EQ(ConvertClick(s, p, Conversion::ExportSql), Outcome::Done);
  ASSERT_EQ(s.Memo1.size(), 1u);
  EXPECT_NE(s.Memo1[0].find(cp("za 366. dnem")), std::string::npos);
}
