#include "commands/windowevents.h"

#include <QFileInfo>
#include <utility>

#include "commands/gradepanel.h"
#include "commands/sessioncommands.h"
#include "pdb/text.h"
#include "workspace/workfiles.h"

namespace vekla {

namespace {

// A command of the state as a step named `step` (UTF-8).
template <class F>
StepResult Step(ActionContext& c, const char* step, F&& command, Track track = Track::Edit) {
  return RunAnyStep(c.s, c.p, c.h, command, cp(step), track);
}

}  // namespace

StepResult CellEdited(ActionContext& c, CellPos at) {
  return Step(c, "úprava buňky", [&] { StringAlignGridAfterEdit(c.s, at); });
}

StepResult CellSelected(ActionContext& c, CellPos at) {
  return Step(c, "", [&] { StringAlignGridSelectCell(c.s, at); });
}

StepResult CellClicked(ActionContext& c, const GridClick& click) {
  return RunStep(
      c.s, c.p, c.h, [&] { return GradeCellClicked(c.s, click); }, WeightClickStep(), Track::Edit);
}

StepResult ColumnTitleClicked(ActionContext& c, int col) {
  return Step(c, "řazení", [&] { return ColumnTitleClick(c.s, col); });
}

StepResult CellsCleared(ActionContext& c, const std::vector<CellPos>& cells) {
  return RunStep(
      c.s, c.p, c.h, [&] { return ClearCells(c.s, c.p, cells); }, CountedStep("smazání", cells.size()), Track::Edit);
}

StepResult TabChosen(ActionContext& c, int index) {
  return Step(
      c, "", [&] { TabSet1Change(c.s, c.p, index); }, Track::Resume);
}

std::string TypedText(VeklaState& s, const QString& text) {
  bool lossy = false;
  std::string t = fromQt(text, &lossy);
  if (lossy) Log(s, cp("Znak nelze uložit v kódování Windows-1250, nahrazen znakem \"?\": ") + t);
  return t;
}

bool PanelFieldTyped(VeklaState& s, Histories& h) {
  MarkEdited(s);
  return RecordEdit(s, h, cp("úprava pole"), true);
}

bool NoteTyped(VeklaState& s, Histories& h, std::vector<std::string> lines) {
  s.memoPoznamka = std::move(lines);
  MarkEdited(s);
  return RecordEdit(s, h, cp("úprava poznámky"), true);
}

StepResult TimetableItemTyped(ActionContext& c) {
  MarkEdited(c.s);
  return Step(
      c, "úprava rozvrhu", [&] { EditRozvrhPolozkaChange(c.s); }, Track::Merge);
}

StepResult TimetableFirstCellTyped(ActionContext& c) {
  MarkEdited(c.s);
  return Step(
      c, "úprava rozvrhu", [&] { EditRozvrhLSChange(c.s); }, Track::Merge);
}

StepResult TimetableColourClicked(ActionContext& c) {
  return Step(c, "barva bloku", [&] { return SpeedButtonRozvrhClick(c.s, c.p); });
}

StepResult GradeSymbolEdited(ActionContext& c, int col, int row) {
  return Step(c, "úprava stupnice", [&] { StringAGZnamkyAfterEdit(c.s, col, row); });
}

StepResult WeightChosen(ActionContext& c, int n) {
  return Step(c, "volba váhy", [&] { SBHodnotaClick(c.s, n); });
}

StepResult WeightLeft(ActionContext& c, int n) {
  return Step(c, "úprava váhy", [&] { EHodnotaExit(c.s, n); });
}

StepResult SemesterChosen(ActionContext& c, int index) {
  // Picking the semester that is shown would reload it from the store and
  // drop the edits made since: nothing to do then. Another one is a step of
  // its own: undoing it shows the semester left, and the steps before stay.
  if (index == c.s.semesterItemIndex) return {Outcome::Refused, false};
  return Step(c, "volba pololetí", [&] { ChooseSemester(c.s, index); });
}

StepResult AveragesClicked(ActionContext& c) {
  return Step(c, "průměry", [&] { Button1Click(c.s); });
}

StepResult BandEdited(ActionContext& c, int col, int row) {
  return Step(c, "úprava pásma průměrů", [&] { StringAGZnamky2AfterEdit(c.s, col, row); });
}

StepResult BandSelected(ActionContext& c, int col, int row) {
  return Step(c, "", [&] { StringAGZnamky2SelectCell(c.s, col, row); });
}

StepResult GradeOptionsConfirmed(ActionContext& c, const GradeDisplayOptions& options) {
  return Step(c, "", [&] {
    WriteGradeDisplayOptions(c.s.settings, options);
    c.s.settings.save(c.s.programDir + "vekla.ini");
  });
}

void GradeOptionsClosed(VeklaState& s) { s.reload = false; }

bool GradeScaleEditable(int, int row) { return row == 1; }

namespace {

constexpr int kMaxPlacement = 30000;

std::optional<int> placementNumber(const IniFile& settings, const char* key) {
  bool ok = false;
  const int v = QString::fromStdString(settings.get("Nastaveni", key)).toInt(&ok);
  if (!ok || v < -kMaxPlacement || v > kMaxPlacement) return std::nullopt;
  return v;
}

}  // namespace

Placement StoredPlacement(const IniFile& settings, int minWidth) {
  Placement p;
  const auto width = placementNumber(settings, "Width"), height = placementNumber(settings, "Height");
  if (width && height && *width > 0 && *height > 0) p.size = QSize(std::max(*width, minWidth), *height);
  const auto left = placementNumber(settings, "Left");
  if (left) {
    if (const auto top = placementNumber(settings, "Top")) p.place = QPoint(*left, *top);
  }
  return p;
}

void StorePlacement(IniFile& settings, const QRect& normal) {
  settings.set("Nastaveni", "Left", std::to_string(normal.x()));
  settings.set("Nastaveni", "Top", std::to_string(normal.y()));
  settings.set("Nastaveni", "Width", std::to_string(normal.width()));
  settings.set("Nastaveni", "Height", std::to_string(normal.height()));
}

QString FileToOpen(const std::vector<QString>& dropped) {
  for (const QString& path : dropped) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (!path.isEmpty() && (suffix == QLatin1String("pdb") || suffix == QLatin1String("csv"))) return path;
  }
  return {};
}

StepResult WindowActivated(ActionContext& c) {
  return Step(
      c, "", [&] { FormActivate(c.s, c.p); }, Track::Resume);
}

StepResult FileGiven(ActionContext& c, const QString& path) {
  return Step(c, "import CSV", [&] { return OpenGivenFile(c.s, c.p, c.h, path); });
}

std::optional<StepResult> KeepOpenToSave(ActionContext& c) {
  // The working files keep the edits in any case; the handheld gets only
  // what was saved to a database, so closing with edits asks first.
  const std::string question = CloseQuestion(c.s);
  if (question.empty() || c.p.questionDefaultNo(question)) return std::nullopt;
  return Step(
      c, "", [&] { SaveKind(c.s); }, Track::None);
}

StepResult WindowClosing(ActionContext& c) {
  return Step(c, "", [&] { FormClose(c.s, c.p); });
}

}  // namespace vekla
