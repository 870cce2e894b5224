#pragma once
// The main window. It owns the state and shows it: every widget is filled
// from the state by refresh(), and every user action writes into the state,
// runs its command and refreshes. No widget keeps data of its own.
#include <QMainWindow>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "commands/outcome.h"
#include "workspace/history.h"
#include "workspace/prompter.h"
#include "workspace/state.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QHBoxLayout;
class QVBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSplitter;
class QTabBar;
class QToolBar;
class QToolButton;

namespace vekla {

class ColorCircle;
class GradeOptionsDialog;
class HelpWindow;
class GridModel;
class GridView;
class QtPrompter;
class SemesterBox;

// The text of a time edit as the state keeps it, from what the edit shows
// through its mask ("7_:05:00" gives "07:05:00"): "hh:mm:ss", a lone hour
// digit with a leading zero, an empty part as "00", and a minute or second
// with one digit of two kept half-typed ("12:3_:00"), so the save stops.
std::string MaskedTimeText(const QString& shown);

class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
  // Dialogs and messages go to `prompter` (not owned) instead of Qt dialogs.
  explicit MainWindow(Prompter* prompter, QWidget* parent = nullptr);
  ~MainWindow() override;

  VeklaState& state() { return s_; }
  Prompter& prompter() { return *prompter_; }
  // Whether the first activation (setup and load of the stored tab) ran.
  bool activated() const { return activated_; }

  // Pushes the whole state into the widgets without firing any handler.
  void refresh();
  // How a command joins the tab's history: as a step named by its label
  // (Merge: a panel field typed letter by letter is one step), as the start
  // of a new history when it did its work (an open), as the saved state, as
  // the tab's history taken up again (a tab switch), or not at all (undo).
  enum class Track { Edit, Merge, Start, Save, Resume, None };
  // Runs a command (errors go to the error box), records what it changed
  // and refreshes.
  template <class F>
  Outcome run(F&& command, const std::string& label = {}, Track track = Track::Edit) {
    if constexpr (std::is_void_v<std::invoke_result_t<F&>>) {
      return runTracked(
          [&] {
            command();
            return Outcome::Done;
          },
          label, track);
    } else {
      return runTracked([&] { return command(); }, label, track);
    }
  }
  Histories& histories() { return histories_; }
  // What a menu item or tool button does, by its component name; nothing
  // when the control is disabled or hidden.
  void trigger(Ctl controlName);
  // The first activation: set up and load the stored tab. Runs once.
  void activate();
  // An edit still open in a grid is committed before a command, a tab
  // switch or the close, so nothing typed is lost.
  void commitPendingEdit();
  // The grid's selected cells, the current one when none is selected.
  std::vector<CellPos> selectedCells() const;

 signals:
  // After every refresh: the state may have changed (windows beside the
  // main one follow it).
  void refreshed();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void buildUi();
  void buildMenus();
  void buildToolBar();
  QFrame* buildPanel();
  QGroupBox* buildTimetableBox();
  QGroupBox* buildGradesBox();
  GridView* buildGradeSymbols(QWidget* box);
  QHBoxLayout* buildWeights(QWidget* box);
  QVBoxLayout* buildSemesterControls(QWidget* box);
  GridView* buildBands(QWidget* box);
  QPlainTextEdit* buildNote(QWidget* box);
  void buildHandlers();
  void buildGradeOptions();
  void restorePlacement();
  void storePlacement();
  void showAbout();
 public:
  // The welcome of the first start (also "Nápověda" → "Úvodní nabídka…").
  void showWelcome();
  // The user guide in the help window ("Nápověda" → "Příručka", F1).
  void showGuide();
  HelpWindow* helpWindow() const { return helpWindow_; }

 private:
  // Text typed into a widget, in code page 1250; a character the code page
  // cannot hold becomes "?" with a line in the error log.
  std::string typed(const QString& text);
  // Keeps the state in step with what is typed into a line edit; with
  // `record`, the typing is a step of the history.
  void bindEdit(QLineEdit* edit, std::function<void(const std::string&)> store, bool record = true);
  void leaveWeight(int index);  // 0-based
  // A panel field typed into: the tab now holds edits not yet saved.
  void markEdited();
  void refreshPanel();
  void refreshGrades();
  void refreshLog();
  void refreshControls();
  Outcome runTracked(const std::function<Outcome()>& command, const std::string& label, Track track);
  void copyCells(bool cut);
  void pasteCells();
  void refreshRecentFiles();

 public:
  QMenu* recentMenu() const { return recentMenu_; }
  // A database opened on its own kind's tab, or a CSV file imported into
  // the tab shown: a file dropped on the window, chosen from the recent
  // files or named on the command line.
  void openGivenFile(const QString& path);

 private:
  QMenu* recentMenu_ = nullptr;

  VeklaState s_;
  Histories histories_;
  std::unique_ptr<QtPrompter> ownPrompter_;
  Prompter* prompter_ = nullptr;
  bool activated_ = false;
  bool showScheduled_ = false;
  bool refreshing_ = false;
  bool fileGiven_ = false;  // a file was opened before the welcome could show
  HelpWindow* helpWindow_ = nullptr;

  // Controls by component name.
  std::map<Ctl, QAction*> actions_;
  std::map<Ctl, std::function<void()>> handlers_;
  std::vector<Ctl> menuNames_;

  QToolBar* speedBar_ = nullptr;
  QLabel* lpohyb_ = nullptr;
  ColorCircle* shape1_ = nullptr;
  ColorCircle* shape2_ = nullptr;

  QFrame* panel_ = nullptr;
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

  GridModel* gridModel_ = nullptr;
  GridView* grid_ = nullptr;
  QTabBar* tabs_ = nullptr;
  QSplitter* splitter_ = nullptr;
  QPlainTextEdit* memo1_ = nullptr;
  GradeOptionsDialog* gradeOptions_ = nullptr;
  std::vector<std::string> shownLog_;
};

}  // namespace vekla
