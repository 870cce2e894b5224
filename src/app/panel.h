#pragma once
// The panel above the grid: the database's name and dates, the timetable's
// item, first cell, colour and weeks, and the grade book's symbols,
// weights, semester box, average bands and note. Its widgets show the
// state (refresh) and run the window's events (commands/windowevents.h).
#include <QFrame>
#include <array>
#include <functional>
#include <string>

#include "commands/actions.h"
#include "workspace/state.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class QVBoxLayout;

namespace vekla {

class ColorCircle;
class GridModel;
class GridView;
class SemesterBox;

// The text of a time edit as the state keeps it, from what the edit shows
// through its mask ("7_:05:00" gives "07:05:00"): "hh:mm:ss", a lone hour
// digit with a leading zero, an empty part as "00", and a minute or second
// with one digit of two kept half-typed ("12:3_:00"), so the save stops.
std::string MaskedTimeText(const QString& shown);

// What the panel needs of the window it sits in.
class PanelOwner {
 public:
  virtual ~PanelOwner() = default;
  // Runs an event and shows what it did.
  virtual Outcome runEvent(const std::function<StepResult(ActionContext&)>& event) = 0;
  // Text typed into a widget, in code page 1250; a character the code page
  // cannot hold becomes "?" with a line in the error log.
  virtual std::string typed(const QString& text) = 0;
  virtual Histories& histories() = 0;
  // The tab holds edits not saved yet (the title's mark shows it).
  virtual void markEdited() = 0;
  // A field was typed into: the title's mark and the controls that follow
  // the history show it.
  virtual void fieldTyped() = 0;
  // An edit open anywhere in the window committed, before a command.
  virtual void commitPendingEdit() = 0;
  // True while the window pushes the state into the widgets.
  virtual bool refreshing() const = 0;
};

class MainPanel : public QFrame {
  Q_OBJECT
 public:
  MainPanel(VeklaState& s, PanelOwner& owner, QWidget* parent);

  // The fields and the grade book's controls.
  void refresh();
  // Which boxes show, and the panel's height.
  void refreshLayout();
  // The symbols' and bands' edits committed, and a weight typed and not
  // left yet left now.
  void commitPendingEdit();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildDatabaseRow();
  QGroupBox* buildTimetableBox();
  QGroupBox* buildGradesBox();
  GridView* buildGradeSymbols(QWidget* box);
  QHBoxLayout* buildWeights(QWidget* box);
  QVBoxLayout* buildSemesterControls(QWidget* box);
  GridView* buildBands(QWidget* box);
  QPlainTextEdit* buildNote(QWidget* box);
  void refreshFields();
  void refreshGrades();
  // Keeps the state in step with what is typed into a line edit; with
  // `record`, the typing is a step of the history.
  void bindEdit(QLineEdit* edit, std::function<void(const std::string&)> store, bool record = true);
  void leaveWeight(int index);  // 0-based
  void noteTyped();

  VeklaState& s_;
  PanelOwner& owner_;

  QLineEdit* editN_ = nullptr;
  QLabel* editC_ = nullptr;
  QLabel* editTD_ = nullptr;
  QLineEdit* editDV_ = nullptr;
  QLineEdit* editCV_ = nullptr;
  QLineEdit* editDZ_ = nullptr;
  QLineEdit* editCZ_ = nullptr;

  QGroupBox* boxRozvrh_ = nullptr;
  QLineEdit* editPolozka_ = nullptr;
  QLineEdit* editLS_ = nullptr;
  ColorCircle* shapeRozvrh_ = nullptr;
  QToolButton* buttonRozvrh_ = nullptr;
  QRadioButton* radioL_ = nullptr;
  QRadioButton* radioS_ = nullptr;
  QCheckBox* checkLS_ = nullptr;

  QGroupBox* boxZnamky_ = nullptr;
  GridModel* znamkyModel_ = nullptr;
  GridView* znamkyView_ = nullptr;
  GridModel* znamky2Model_ = nullptr;
  GridView* znamky2View_ = nullptr;
  std::array<QLineEdit*, 4> weightEdits_{};
  std::array<QToolButton*, 4> weightButtons_{};
  std::array<Color, 4> glyphColors_{};
  std::array<bool, 4> weightTyped_{};  // typed into since it was last left
  QButtonGroup* weightGroup_ = nullptr;
  SemesterBox* semesterBox_ = nullptr;
  QPushButton* button1_ = nullptr;
  QPlainTextEdit* memoPoznamka_ = nullptr;
};

}  // namespace vekla
